// A temporary save folder for tests that write files; removed with its files afterwards, and the
// folder in use before is taken up again.
#pragma once
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "saves/file_io.h"
#include "saves/save_path.h"

struct TempSaveDir {
    std::string dir;
    std::string previous = save_dir;  // the folder in use before, given back afterwards
    // `base` may name a memory-backed folder for tests that write thousands of files.
    explicit TempSaveDir(const char* base = "/tmp") {
        std::string tmpl = std::string(base) + "/qm_test_XXXXXX";
        const char* made = mkdtemp(tmpl.data());
        if (!made) {
            tmpl = "/tmp/qm_test_XXXXXX";
            made = mkdtemp(tmpl.data());
        }
        dir = made ? made : "/tmp";
        save_dir_set((dir + "/").c_str());
    }
    ~TempSaveDir() {
        if (DIR* d = opendir(dir.c_str())) {
            while (dirent* e = readdir(d)) {
                std::string name = e->d_name;
                if (name != "." && name != "..") std::remove((dir + "/" + name).c_str());
            }
            closedir(d);
        }
        rmdir(dir.c_str());
        save_dir_set(previous.empty() ? nullptr : previous.c_str());
    }
    std::string path(const char* name) const { return dir + "/" + name; }
    // Temporary files of the atomic writer left in the folder.
    int temps() const {
        int n = 0;
        if (DIR* d = opendir(dir.c_str())) {
            while (dirent* e = readdir(d)) n += file_is_temp_name(e->d_name) ? 1 : 0;
            closedir(d);
        }
        return n;
    }
    bool exists(const char* name) const {
        FILE* f = std::fopen(path(name).c_str(), "rb");
        if (f) std::fclose(f);
        return f != nullptr;
    }
    std::string read(const char* name) const {
        std::string out;
        if (FILE* f = std::fopen(path(name).c_str(), "rb")) {
            char buf[4096];
            size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
            std::fclose(f);
        }
        return out;
    }
    void write(const char* name, const std::string& text) const {
        if (FILE* f = std::fopen(path(name).c_str(), "wb")) {
            std::fwrite(text.data(), 1, text.size(), f);
            std::fclose(f);
        }
    }
};
