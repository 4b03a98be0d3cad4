// The save folder and the paths of the files kept in it.
#pragma once

// A non-empty text becomes the folder prefix (ending in the separator); null or empty clears it.
void save_dir_set(const char* dir);
// The folder prefix joined with `name`, in one shared buffer valid until the next call.
const char* save_path(const char* name);
