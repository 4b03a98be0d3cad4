// Every test runs with a save folder of its own, so the game's files (the profile, above all,
// which fights and exploration write) never land in the build folder.
#include <gtest/gtest.h>

#include <memory>

#include "support/temp_save_dir.h"

namespace {

struct SaveDirEnvironment : ::testing::Environment {
    std::unique_ptr<TempSaveDir> dir;
    void SetUp() override { dir = std::make_unique<TempSaveDir>(); }
    void TearDown() override { dir.reset(); }
};

const ::testing::Environment* const save_dir_environment =
    ::testing::AddGlobalTestEnvironment(new SaveDirEnvironment);

}  // namespace
