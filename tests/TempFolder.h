// A fresh folder for one test, removed with everything in it when the test ends.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class TempFolder {
 public:
  TempFolder() {
    // Test programs run side by side: each names its folders after a number of its own, and a
    // name already taken is passed over.
    static const unsigned run = std::random_device{}();
    static std::atomic<int> counter{0};
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
      folder_ = base / ("fumtest-" + std::to_string(run) + "-" + std::to_string(counter++));
      std::error_code taken;
      if (std::filesystem::create_directory(folder_, taken)) break;
      if (taken && taken != std::errc::file_exists)
        throw std::filesystem::filesystem_error("no folder for the test", folder_, taken);
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The path of a file in the folder, as the program writes paths (backslashes).
  std::wstring Path(const std::wstring& name) const {
    std::wstring path = (folder_ / name).wstring();
    for (auto& ch : path)
      if (ch == L'/') ch = L'\\';
    return path;
  }
  std::filesystem::path Native(const std::wstring& name) const { return folder_ / name; }

  void Write(const std::wstring& name, const std::string& bytes) const {
    std::ofstream(Native(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::wstring& name) const {
    std::ifstream in(Native(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

 private:
  std::filesystem::path folder_;
};
