// A save folder that cannot be written: a plain file stands where the folder should be, so every
// save fails the way it does on a broken disk. The folder in use before is taken up again.
#pragma once
#include <string>

#include "support/temp_save_dir.h"

struct UnwritableSaveDir {
    TempSaveDir base;
    UnwritableSaveDir() {
        base.write("blocker", "not a folder");
        save_dir_set((base.dir + "/blocker/").c_str());
    }
    ~UnwritableSaveDir() { save_dir_set((base.dir + "/").c_str()); }
};
