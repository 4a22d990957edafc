// Files for fuzz targets that go through the program's file layer: kept in memory-backed
// storage, one folder per process.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

inline std::string FuzzFolder() {
  static const std::string folder = [] {
    std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string path = base + "/fumfuzz-" + std::to_string(getpid());
    mkdir(path.c_str(), 0700);
    return path;
  }();
  return folder;
}

// The path of a file in the fuzz folder, as the program writes paths.
inline std::wstring FuzzPath(const char* name) {
  std::string path = FuzzFolder() + "/" + name;
  return std::wstring(path.begin(), path.end());
}

inline void WriteFuzzFile(const char* name, const std::uint8_t* data, std::size_t size) {
  std::string path = FuzzFolder() + "/" + name;
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
}
