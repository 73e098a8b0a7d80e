#include "support/temp_dir.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

void RemoveTree(const std::string& dir)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string full = dir + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
}

}  // namespace

TempDir::TempDir()
{
    // The tests run inside the build tree; keep their files there too.
    char base[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, base);
    static int counter = 0;
    char name[64];
    std::snprintf(name, sizeof(name), "\\scrivane-test-%lu-%d", GetCurrentProcessId(), ++counter);
    path_ = std::string(base) + name;
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempDir::~TempDir()
{
    RemoveTree(path_);
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
