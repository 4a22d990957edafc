// A stand-in for a Tools program: appends its command line to probe.log beside itself, then does
// what its arguments say, in order: "out:TEXT" and "err:TEXT" write TEXT and a line feed to
// standard output or standard error, "oem:HH" writes the byte HH, "sleep:MS" waits and
// "exit:N" ends with exit code N. Before all that it writes its process id to probe.pid.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t ch : text) narrow += ch < 128 ? static_cast<char>(ch) : '?';
  return narrow;
}

std::string BesideMe(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

void Write(FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace

int main(int argc, char** argv) {
  // The process id first: a test that sees the log line finds it.
  std::ofstream(BesideMe("probe.pid"), std::ios::binary) << GetCurrentProcessId();
  std::ofstream(BesideMe("probe.log"), std::ios::app | std::ios::binary)
      << Narrow(GetCommandLineW()) << "\r\n";
  // Line feeds go out alone, as many programs write them.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  int exitCode = 0;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    std::string value = argument.substr(argument.find(':') + 1);
    if (argument.rfind("out:", 0) == 0) Write(stdout, value + "\n");
    if (argument.rfind("err:", 0) == 0) Write(stderr, value + "\n");
    if (argument.rfind("oem:", 0) == 0) {
      Write(stdout, std::string(1, static_cast<char>(std::strtol(value.c_str(), nullptr, 16))));
    }
    if (argument.rfind("sleep:", 0) == 0) Sleep(std::atoi(value.c_str()));
    if (argument.rfind("exit:", 0) == 0) exitCode = std::atoi(value.c_str());
  }
  return exitCode;
}
