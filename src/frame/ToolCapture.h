// A Tools program run with its standard output and standard error captured through one pipe,
// read by a thread of its own so that the editor goes on while the program runs.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

class ToolCapture {
 public:
  // Starts program with commandLine (whose first word is the program itself), standard input
  // empty, standard output and standard error into the pipe. When the output has ended, the
  // thread posts message to window. Null when the program could not be started. owner names
  // what the run belongs to.
  static std::unique_ptr<ToolCapture> Start(const std::wstring& program,
                                            const std::wstring& commandLine, HWND window,
                                            UINT message, std::wstring owner);
  // Stops a program still running and waits for the thread.
  ~ToolCapture();
  ToolCapture(const ToolCapture&) = delete;
  ToolCapture& operator=(const ToolCapture&) = delete;

  const std::wstring& Owner() const { return owner_; }
  // The folder the program runs in: the editor's current folder when it started.
  const std::wstring& Folder() const { return folder_; }
  // The output has ended and the message is posted (or about to be).
  bool Finished() const { return finished_; }
  // Ends the program and the reading at once.
  void Stop();
  // Waits for the thread; afterwards Output and ExitCode are final.
  void Join();
  // What the program wrote, in its own bytes; read after Join.
  const std::string& Output() const { return output_; }
  // The program's exit code; read after Join.
  DWORD ExitCode() const { return exitCode_; }

 private:
  ToolCapture(HWND window, UINT message, std::wstring owner);
  // Starts the program suspended with its standard handles, puts it in a job, lets it run.
  bool Launch(const std::wstring& program, const std::wstring& commandLine, HANDLE input,
              HANDLE output);
  void Run();
  void ReadOutput();
  // Waits until the pending read completes (true), or the run is stopped or the program has
  // ended and its pipe stayed quiet for a while (false).
  bool WaitForRead(HANDLE readDone, bool& programEnded);

  HWND window_;
  UINT message_;
  std::wstring owner_;
  std::wstring folder_;
  HANDLE pipe_ = INVALID_HANDLE_VALUE;  // our end of the pipe, read overlapped; owned
  HANDLE process_ = nullptr;            // owned
  HANDLE job_ = nullptr;                // holds the program and what it starts; owned
  HANDLE stop_ = nullptr;               // manual-reset event set by Stop; owned
  std::thread thread_;
  std::atomic<bool> finished_{false};
  std::string output_;    // written by the thread only
  DWORD exitCode_ = 0;    // written by the thread only
};
