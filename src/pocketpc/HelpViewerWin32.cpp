// The help viewer: the handheld's own where it exists, else the system's browser.
#include "pocketpc/PocketPC.h"

#include <shellapi.h>

#include <string>

#include "platform/Paths.h"

namespace pocketpc {
namespace {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = L"";
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return platform::FolderOf(std::wstring_view(path, length));
}

bool IsFullPath(std::wstring_view path) {
  return (path.size() >= 2 && path[1] == L':') || (!path.empty() && (path[0] == L'\\'));
}

// A path written for a URL: forward slashes, with the characters that would end or change
// the path escaped.
std::wstring UrlPath(std::wstring_view path) {
  std::wstring url;
  for (wchar_t ch : path) {
    switch (ch) {
      case L'\\': url += L'/'; break;
      case L' ': url += L"%20"; break;
      case L'#': url += L"%23"; break;
      case L'%': url += L"%25"; break;
      case L'?': url += L"%3F"; break;
      default: url += ch; break;
    }
  }
  return url;
}

// The handheld's viewer lives in the system's Windows folder. It is started by that full path:
// by its bare name the search would look in the current folder first, and start whatever
// program of that name lies there.
std::wstring HandheldViewerPath() {
  wchar_t folder[MAX_PATH] = L"";
  UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return platform::JoinPath(std::wstring_view(folder, length), L"peghelp.exe");
}

bool RunHandheldViewer(const wchar_t* link) {
  std::wstring viewer = HandheldViewerPath();
  if (viewer.empty()) return false;
  std::wstring commandLine = L"\"" + viewer + L"\" " + link;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(viewer.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// Opens a URL with the program that opens the file it names, so that the part after "#"
// survives; with no such program, lets the shell open the URL itself.
bool OpenInBrowser(const std::wstring& file, const std::wstring& url) {
  wchar_t browser[MAX_PATH] = L"";
  auto found = reinterpret_cast<INT_PTR>(FindExecutableW(file.c_str(), nullptr, browser));
  if (found > 32 && _wcsicmp(browser, file.c_str()) != 0) {
    std::wstring argument = L"\"" + url + L"\"";
    return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", browser, argument.c_str(),
                                                   nullptr, SW_SHOWNORMAL)) > 32;
  }
  return reinterpret_cast<INT_PTR>(
             ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

// The file a help link names, as a path, and its topic with the leading "#".
struct HelpTarget {
  std::wstring path;
  std::wstring_view topic;
};

HelpTarget SplitHelpLink(std::wstring_view link, std::wstring_view programFolder) {
  constexpr std::wstring_view scheme = L"file:";
  if (link.substr(0, scheme.size()) == scheme) link.remove_prefix(scheme.size());
  std::size_t hash = link.find(L'#');
  std::wstring_view file = link.substr(0, hash);
  HelpTarget target;
  if (hash != std::wstring_view::npos) target.topic = link.substr(hash);
  target.path = IsFullPath(file) || programFolder.empty() ? std::wstring(file)
                                                         : platform::JoinPath(programFolder, file);
  return target;
}

}  // namespace

std::wstring HelpLinkToUrl(std::wstring_view link, std::wstring_view programFolder) {
  HelpTarget target = SplitHelpLink(link, programFolder);
  std::wstring_view path = target.path;
  if (!path.empty() && path[0] == L'\\') path.remove_prefix(1);
  return L"file:///" + UrlPath(path) + std::wstring(target.topic);
}

}  // namespace pocketpc

bool StartHelpViewer(const wchar_t* link) {
  using namespace pocketpc;
  if (!link) return false;
  if (RunHandheldViewer(link)) return true;
  std::wstring folder = ProgramFolder();
  return OpenInBrowser(SplitHelpLink(link, folder).path, HelpLinkToUrl(link, folder));
}
