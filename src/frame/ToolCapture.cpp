// The captured run of a Tools program: its pipe, its process and the thread that reads it.
#include "frame/ToolCapture.h"

#include <string>

#include "frame/FrameSupport.h"
#include "platform/HandlerGuard.h"

namespace {

constexpr DWORD readChunk = 4096;
constexpr DWORD pipeBufferSize = 65536;
// Once the program has ended, what programs it started may still write into the pipe is read
// until the pipe stays quiet for this long.
constexpr DWORD quietAfterEndMs = 300;

// Closes a handle when it goes.
class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() {
    if (Valid()) CloseHandle(handle_);
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  bool Valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

// A pipe name no other run and no other instance uses.
std::wstring NewPipeName() {
  static LONG counter = 0;
  return L"\\\\.\\pipe\\fum-output-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(InterlockedIncrement(&counter));
}

}  // namespace

ToolCapture::ToolCapture(HWND window, UINT message, std::wstring owner)
    : window_(window), message_(message), owner_(std::move(owner)), folder_(CurrentFolder()) {}

ToolCapture::~ToolCapture() {
  Stop();
  Join();
  if (pipe_ != INVALID_HANDLE_VALUE) CloseHandle(pipe_);
  if (process_) CloseHandle(process_);
  if (job_) CloseHandle(job_);
  if (stop_) CloseHandle(stop_);
}

std::unique_ptr<ToolCapture> ToolCapture::Start(const std::wstring& program,
                                                const std::wstring& commandLine, HWND window,
                                                UINT message, std::wstring owner) {
  std::unique_ptr<ToolCapture> capture(new ToolCapture(window, message, std::move(owner)));
  // Our end is read overlapped, so that the thread can also wait for the program and for Stop;
  // only the program's end is inherited.
  std::wstring name = NewPipeName();
  capture->pipe_ = CreateNamedPipeW(
      name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
      PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 0, pipeBufferSize, 0, nullptr);
  capture->stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  ScopedHandle output(capture->pipe_ == INVALID_HANDLE_VALUE
                          ? INVALID_HANDLE_VALUE
                          : CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inherited, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  ScopedHandle input(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &inherited, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!output.Valid() || !input.Valid() || !capture->stop_ ||
      !capture->Launch(program, commandLine, input.Get(), output.Get())) {
    return nullptr;
  }
  // Our copy of the program's end goes when `output` does: the pipe then breaks when the
  // program and what it started have closed theirs.
  ToolCapture* running = capture.get();
  capture->thread_ = std::thread([running] { running->Run(); });
  return capture;
}

bool ToolCapture::Launch(const std::wstring& program, const std::wstring& commandLine,
                         HANDLE input, HANDLE output) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = output;
  PROCESS_INFORMATION process{};
  std::wstring line = commandLine;
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE,
                      CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  process_ = process.hProcess;
  // In a job of its own, the programs it starts in turn stop with it. Where the system refuses
  // the job, Stop ends the program alone.
  job_ = CreateJobObjectW(nullptr, nullptr);
  if (job_ && !AssignProcessToJobObject(job_, process.hProcess)) {
    CloseHandle(job_);
    job_ = nullptr;
  }
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  return true;
}

void ToolCapture::Stop() {
  if (finished_ || !stop_) return;
  SetEvent(stop_);
  if (job_) TerminateJobObject(job_, 1);
  if (process_) TerminateProcess(process_, 1);
}

void ToolCapture::Join() {
  if (thread_.joinable()) thread_.join();
}

void ToolCapture::Run() {
  // Nothing may leave the thread: output that no longer fits in memory ends the reading, and
  // the run still finishes with what was read.
  platform::Guarded([this] { ReadOutput(); }, [] {});
  // A program that closed its output before it ended is waited for, unless the run is stopped.
  HANDLE waits[2] = {process_, stop_};
  WaitForMultipleObjects(2, waits, FALSE, INFINITE);
  if (!GetExitCodeProcess(process_, &exitCode_)) exitCode_ = 1;
  finished_ = true;
  PostMessageW(window_, message_, 0, 0);
}

void ToolCapture::ReadOutput() {
  ScopedHandle readDone(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!readDone.Valid()) return;
  char buffer[readChunk];
  bool programEnded = false;
  for (;;) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = readDone.Get();
    // A broken pipe (every writer gone) fails at once; anything else but a pending read too.
    if (!ReadFile(pipe_, buffer, readChunk, nullptr, &overlapped) &&
        GetLastError() != ERROR_IO_PENDING) {
      return;
    }
    bool completed = WaitForRead(readDone.Get(), programEnded);
    if (!completed) CancelIo(pipe_);
    DWORD count = 0;
    BOOL read = GetOverlappedResult(pipe_, &overlapped, &count, TRUE);
    output_.append(buffer, count);
    if (!read || !completed) return;
  }
}

bool ToolCapture::WaitForRead(HANDLE readDone, bool& programEnded) {
  for (;;) {
    HANDLE waits[3] = {readDone, stop_, process_};
    DWORD result = WaitForMultipleObjects(programEnded ? 2 : 3, waits, FALSE,
                                          programEnded ? quietAfterEndMs : INFINITE);
    if (result == WAIT_OBJECT_0) return true;
    if (result != WAIT_OBJECT_0 + 2) return false;
    programEnded = true;
  }
}
