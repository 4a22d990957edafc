// Benchmarks of the text model on a generated file of a million lines: loading with and without
// word wrap, peak memory, saving, typing, Enter and undoing a large replacement, each printed as
// a median beside a plain read or write of the same file.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include "BenchArguments.h"
#include "BenchTiming.h"
#include "SourceGenerator.h"
#include "platform/Platform.h"
#include "syntax/RowCursor.h"
#include "syntax/SyntaxDef.h"
#include "text/Document.h"
#include "text/Edit.h"
#include "text/JournalWriter.h"
#include "text/Layout.h"
#include "text/TextFile.h"
#include "text/TextPos.h"
#include "text/UndoHistory.h"

namespace {

using bench::CpuSeconds;
using bench::Generate;
using bench::Median;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The median wall time of runs; lastCpu receives the median processor time of the same runs.
double lastCpu = 0;
double MedianOf(int runs, const std::function<double()>& run) {
  std::vector<double> times, cpu;
  for (int i = 0; i < runs; ++i) {
    double before = CpuSeconds();
    times.push_back(run());
    cpu.push_back(CpuSeconds() - before);
  }
  lastCpu = Median(cpu);
  return Median(times);
}

// The process's peak resident memory in bytes.
std::uint64_t PeakMemory() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize;
#else
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return 0;
  char line[256];
  std::uint64_t kilobytes = 0;
  while (std::fgets(line, sizeof line, status))
    if (std::strncmp(line, "VmHWM:", 6) == 0) kilobytes = std::strtoull(line + 6, nullptr, 10);
  std::fclose(status);
  return kilobytes * 1024;
#endif
}

std::uint64_t PlainRead(const std::wstring& path) {
  platform::FileHandle file = platform::OpenForReading(path);
  std::vector<char> buffer(1 << 16);
  std::uint64_t total = 0, sum = 0;
  std::uint32_t got = 0;
  while (platform::ReadFile(file, buffer.data(), static_cast<std::uint32_t>(buffer.size()), got) &&
         got > 0) {
    total += got;
    sum += static_cast<unsigned char>(buffer[got / 2]);
  }
  platform::CloseFile(file);
  return total + (sum & 0);
}

void PlainWrite(const std::wstring& path, std::uint64_t bytes) {
  platform::FileHandle file = platform::CreateForWriting(path);
  std::vector<char> buffer(1 << 16, 'x');
  for (std::uint64_t done = 0; done < bytes; done += buffer.size())
    platform::WriteFile(file, buffer.data(),
                        static_cast<std::uint32_t>(std::min<std::uint64_t>(buffer.size(), bytes - done)));
  platform::CloseFile(file);
}

std::unique_ptr<Document> NewDocument(bool wrap) {
  auto document = std::make_unique<Document>();
  document->settings.wordwrap = wrap;
  document->settings.tabsize = 4;
  document->settings.relindent = 2;
  document->wrapWidth = wrap ? 80 : Document::noWrapWidth;
  LayoutDocument(*document);
  return document;
}

void Report(const char* what, double seconds, double reference, const char* referenceName) {
  if (seconds < 1e-3)
    std::printf("  %-34s %10.2f us", what, seconds * 1e6);
  else
    std::printf("  %-34s %10.1f ms", what, seconds * 1e3);
  if (reference > 0) std::printf("   %6.1fx %s", seconds / reference, referenceName);
  std::printf("\n");
}

// The same with the processor time of the runs.
void ReportRuns(const char* what, double seconds, double reference, const char* referenceName) {
  std::printf("  %-34s %10.1f ms  (cpu %6.1f ms)", what, seconds * 1e3, lastCpu * 1e3);
  if (reference > 0) std::printf("   %6.1fx %s", seconds / reference, referenceName);
  std::printf("\n");
}

// One typed character at a time in the middle of the document, each timed alone; with journal,
// every change is also handed to a recovery journal as the program does (which writes later).
void TypingAndEnter(bool wrap, bool journal, const std::wstring& path) {
  auto document = NewDocument(wrap);
  LoadText(*document, path);
  JournalWriter writer(path + L".bench.fumj");
  if (journal) {
    document->onReplace = [&writer](const TextPos& from, const TextPos& to, std::wstring_view text) {
      writer.Add(from, to, text, 0);
    };
  }
  const char* mode = wrap ? (journal ? "wrap 80, journal" : "wrap 80")
                          : (journal ? "wrap off, journal" : "wrap off");
  const int middle = document->LineCount() / 2;
  std::vector<double> typed, enters;
  TextPos pos(*document);
  SetPos(pos, 4, middle);
  for (int i = 0; i < 2000; ++i) {
    auto start = Clock::now();
    ChangeRecord change = ReplaceText(*document, pos, pos, L"x", editTyping);
    typed.push_back(Seconds(start));
    SetPos(pos, change.endIndex, change.endLine);
  }
  for (int i = 0; i < 200; ++i) {
    auto start = Clock::now();
    ChangeRecord change = ReplaceText(*document, pos, pos, L"\r\n", editOther);
    enters.push_back(Seconds(start));
    SetPos(pos, change.endIndex, change.endLine);
  }
  char label[80];
  std::snprintf(label, sizeof label, "typed character, %s", mode);
  Report(label, Median(typed), 0, "");
  std::snprintf(label, sizeof label, "Enter, %s", mode);
  Report(label, Median(enters), 0, "");
}

// Backspace at the end of the widest line, word wrap off, each timed alone: the line narrows,
// and the widest line of the document has to be known again.
void BackspaceOnTheWidestLine(const std::wstring& path) {
  auto document = NewDocument(false);
  LoadText(*document, path);
  int widest = 0;
  while (widest + 1 < document->LineCount() &&
         LineWidth(*document, document->lines[widest]) < document->widestLine)
    ++widest;
  std::vector<double> times;
  for (int i = 0; i < 200 && document->lines[widest].Length() > 0; ++i) {
    TextPos end(*document), before(*document);
    SetPos(end, document->lines[widest].Length(), widest);
    SetPos(before, end.index - 1, widest);
    auto start = Clock::now();
    ReplaceText(*document, before, end, L"", editOther);
    times.push_back(Seconds(start));
  }
  Report("backspace on the widest line", Median(times), 0, "");
}

// A replacement on 100,000 lines recorded as one group (a replace-all), then one undo.
void UndoLargeReplacement(bool wrap, const std::wstring& path, const wchar_t* replacement) {
  auto document = NewDocument(wrap);
  LoadText(*document, path);
  int done = 0;
  auto start = Clock::now();
  for (int line = 0; line < document->LineCount() && done < 100000; line += 7) {
    const Line& text = document->lines[line];
    if (text.Length() < 6) continue;
    TextPos from(*document), to(*document);
    SetPos(from, text.Length() - 6, line);
    SetPos(to, text.Length() - 1, line);
    ReplaceText(*document, from, to, replacement, done == 0 ? editReplace : editContinue);
    ++done;
  }
  double replaceTime = Seconds(start);
  start = Clock::now();
  Undo(*document->undo);
  double undoTime = Seconds(start);
  char label[80];
  std::snprintf(label, sizeof label, "replace %d (%s, %s)", done, wrap ? "wrap 80" : "wrap off",
                std::wcslen(replacement) == 5 ? "same length" : "longer");
  Report(label, replaceTime, 0, "");
  std::snprintf(label, sizeof label, "undo of that group");
  Report(label, undoTime, 0, "");
}

// Highlighting with a syntax definition: loading with end states, the state walk after typing
// a comment opener at the top, and (with screens) the runs of one screen, and of a line of marks.
void Highlighting(const std::wstring& path, const std::wstring& syntaxPath, int runs, bool screens) {
  SyntaxDef def;
  if (!bench::LoadSyntaxFile(syntaxPath, def)) {
    std::printf("  (no syntax file: highlighting not measured)\n");
    return;
  }
  auto highlighted = [&](bool wrap) {
    auto document = NewDocument(wrap);
    document->highlighter = &def;
    return document;
  };
  for (bool wrap : {false, true}) {
    double load = MedianOf(runs, [&] {
      auto document = highlighted(wrap);
      auto start = Clock::now();
      LoadText(*document, path);
      return Seconds(start);
    });
    ReportRuns(wrap ? "load + layout + states, wrap 80" : "load + layout + states, wrap off", load,
               0, "");
  }
  auto document = highlighted(true);
  LoadText(*document, path);
  std::vector<double> opener, screenTimes;
  for (int i = 0; i < runs; ++i) {
    TextPos top(*document);
    auto start = Clock::now();
    ReplaceText(*document, top, top, L"/*", editOther);
    opener.push_back(Seconds(start));
    Undo(*document->undo);
  }
  Report("comment opener typed at the top", Median(opener), 0, "");
  if (!screens) return;
  const int rows = 40, columns = 80;
  const auto screen = [&](Document& shown, int row) {
    auto start = Clock::now();
    TextPos cursor;
    OpenRowCursor(cursor, shown, row, 0);
    for (int r = 0; r < rows; ++r) {
      int remaining = columns + 1;
      for (bool first = true; remaining > 0; first = false) NextRun(cursor, first, remaining);
      NextRow(cursor, 0);
    }
    CloseRowCursor(cursor);
    return Seconds(start);
  };
  for (int row = 0; row < document->TotalRows() - rows; row += document->TotalRows() / 201)
    screenTimes.push_back(screen(*document, row));
  Report("runs of one screen, 40 x 80", Median(screenTimes), 0, "");
  // A letter with 100 000 combining marks, wrapped: its screen costs what its units cost.
  auto marks = highlighted(true);
  TextPos top(*marks);
  ReplaceText(*marks, top, top, L"e" + std::wstring(100000, L'\u0301'), editOther);
  std::vector<double> markTimes;
  for (int i = 0; i < runs; ++i) markTimes.push_back(screen(*marks, 0));
  Report("one screen of 100 000 marks", Median(markTimes), 0, "");
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint64_t atStart = PeakMemory();
  // The input file: given on the command line (made when missing), else beside the program.
  std::wstring path = bench::PathArgument(argc, argv, 1);
  if (path.empty()) path = platform::ModulePath() + L".input.txt";
  int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  const std::wstring syntaxPath = bench::PathArgument(argc, argv, 3);
  // "loads" as the fourth argument measures loading alone: the reads, the loads with and
  // without highlighting, the memory and the state walk after a comment opener.
  const bool loadsOnly = argc > 4 && std::strcmp(argv[4], "loads") == 0;
  if (!platform::FileExists(path)) Generate(path);
  const std::wstring savePath = path + L".saved.txt";
  const std::wstring writePath = path + L".written.txt";

  std::uint64_t size = PlainRead(path);
  std::printf("input: %.1f MB (%llu bytes), median of %d runs\n",
              static_cast<double>(size) / 1e6, static_cast<unsigned long long>(size), runs);
  const std::uint64_t baseline = PeakMemory();

  double read = MedianOf(runs, [&] {
    auto start = Clock::now();
    PlainRead(path);
    return Seconds(start);
  });
  ReportRuns("plain read", read, 0, "");

  for (bool wrap : {false, true}) {
    double load = MedianOf(runs, [&] {
      auto document = NewDocument(wrap);
      auto start = Clock::now();
      bool ok = LoadText(*document, path);
      double seconds = Seconds(start);
      if (!ok) std::printf("load failed\n");
      return seconds;
    });
    ReportRuns(wrap ? "load + layout, wrap 80" : "load + layout, wrap off", load, read, "plain read");
  }
  const std::uint64_t peak = PeakMemory();
  std::printf("  %-34s %10.1f MB   %6.2fx file size (at start %.1f MB, before loading %.1f MB)\n", "peak memory",
              static_cast<double>(peak) / 1e6, static_cast<double>(peak) / static_cast<double>(size),
              static_cast<double>(atStart) / 1e6, static_cast<double>(baseline) / 1e6);
  const double growth = static_cast<double>(peak - std::min(peak, baseline));
  std::printf("  %-34s %10.1f MB   %6.2fx file size\n", "memory growth for a loaded file", growth / 1e6,
              growth / static_cast<double>(size));

  if (loadsOnly) {
    Highlighting(path, syntaxPath, runs, false);
    return 0;
  }
  {
    auto document = NewDocument(false);
    LoadText(*document, path);
    double relayout = MedianOf(runs, [&] {
      TextClass settings = document->settings;
      settings.wordwrap = !settings.wordwrap;
      auto start = Clock::now();
      Relayout(*document, settings, 80);
      return Seconds(start);
    });
    ReportRuns("relayout (wrap switched)", relayout, read, "plain read");
    double write = MedianOf(runs, [&] {
      auto start = Clock::now();
      PlainWrite(writePath, size);
      return Seconds(start);
    });
    ReportRuns("plain write", write, 0, "");
    double save = MedianOf(runs, [&] {
      auto start = Clock::now();
      bool ok = SaveText(*document, savePath);
      double seconds = Seconds(start);
      if (!ok) std::printf("save failed\n");
      return seconds;
    });
    ReportRuns("save", save, write, "plain write");
  }
  platform::RemoveFile(savePath);
  platform::RemoveFile(writePath);

  for (bool wrap : {false, true}) {
    TypingAndEnter(wrap, false, path);
    TypingAndEnter(wrap, true, path);
  }
  BackspaceOnTheWidestLine(path);
  UndoLargeReplacement(false, path, L"totals");
  UndoLargeReplacement(true, path, L"TOTAL");
  UndoLargeReplacement(true, path, L"totals");
  Highlighting(path, syntaxPath, runs, true);
  return 0;
}
