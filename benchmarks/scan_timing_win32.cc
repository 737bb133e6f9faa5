// Times the scan engine over the win32 adapter against a bare walk of the same generated tree
// of 200,000 entries, each with 0, 1,000 and 10,000 threats, and the threat list as a real list
// view: 10,000 entries appended with repainting suspended, a few with it on, and whole scans
// into the realized controls. Prints medians of several runs, timed with std::chrono.
//
//   velmora_scan_timing.exe [--tree=DIR] [--runs=N] [--keep-tree]
//
// Defaults: a tree in the temporary directory, removed at the end; 5 runs, in rotating order.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "bench_tree.h"
#include "platform/clock_win32.h"
#include "platform/file_system_win32.h"
#include "scan_harness.h"
#include "summary.h"
#include "ui/application.h"
#include "ui/win32/backend_win32.h"

namespace velmora::bench {
namespace {

constexpr int kEntries = 200000;
constexpr int kListEntries = 10000;
constexpr int kPaintedEntries = 200;

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void PumpMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

// Paints whatever is due now, as the message loop would after the handler returns.
void PaintNow(const ui::Form& form) {
  ::RedrawWindow(ui::WindowOf(form), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpMessages();
}

ui::ListItem ThreatEntry(int i) {
  return {"E:\\photos\\folder" + std::to_string(i % 97) + "\\autorun" + std::to_string(i) + ".inf",
          {"T : 9:03:22 D  : 06/12/2026"},
          0};
}

void Print(const char* what, double seconds, const char* note = "") {
  std::printf("%-44s %9.1f ms%s\n", what, seconds * 1e3, note);
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
  using namespace velmora;
  using namespace velmora::bench;
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  std::filesystem::path root = std::filesystem::path(temp) / "velmora-scan-bench";
  int runs = 5;
  bool keep_tree = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--tree=", 7) == 0) {
      root = argv[i] + 7;
    } else if (std::strncmp(argv[i], "--runs=", 7) == 0) {
      runs = std::max(1, std::atoi(argv[i] + 7));
    } else if (std::strcmp(argv[i], "--keep-tree") == 0) {
      keep_tree = true;
    } else {
      std::fprintf(stderr, "usage: %s [--tree=DIR] [--runs=N] [--keep-tree]\n", argv[0]);
      return 1;
    }
  }

  BenchTree tree(root, kEntries);
  std::printf("tree: %s, %d entries, %d runs\n", root.string().c_str(), kEntries, runs);
  std::fflush(stdout);
  Print("generating (or reusing) the tree", Seconds([&] { tree.Generate(); }));
  const std::string directory = root.string() + "\\";
  platform::Win32FileSystem files;
  platform::Win32Clock clock;
  Print("first walk, filling the caches", Seconds([&] { BareWalk(files, directory); }));

  // The engine with headless controls: what the scan itself costs over the platform's walk.
  ScanHarness headless(files, clock);
  std::map<int, std::vector<double>> walk_times;
  std::map<int, std::vector<double>> scan_times;
  const int counts = static_cast<int>(kThreatCounts.size());
  for (int run = 0; run < runs; ++run) {
    for (int k = 0; k < counts; ++k) {
      // Rotating the order spreads drift over all counts alike.
      const int threats = kThreatCounts[static_cast<std::size_t>((run + k) % counts)];
      tree.SetThreatCount(threats);
      walk_times[threats].push_back(Seconds([&] { BareWalk(files, directory); }));
      int listed = 0;
      scan_times[threats].push_back(Seconds([&] { listed = headless.Scan(directory); }));
      if (listed != threats) {
        std::fprintf(stderr, "listed %d threats of %d\n", listed, threats);
        return 1;
      }
    }
  }
  std::map<int, double> walk;
  std::map<int, double> engine;
  for (const auto& [threats, times] : walk_times) walk[threats] = Median(times);
  for (const auto& [threats, times] : scan_times) engine[threats] = Median(times);
  std::printf("\nmedians, scans in volume-panel mode over the win32 adapter:\n");
  const bool met = PrintSummary(std::cout, walk, engine);
  std::cout << std::flush;

  // The same controls as real windows on a shown form.
  ui::Win32Backend backend(::GetModuleHandleA(nullptr));
  ui::Application app(backend);
  ScanHarness realized(files, clock);
  realized.form().SetBounds({0, 0, 690, 521});
  app.CreateForm(realized.form());
  realized.form().Show();
  PaintNow(realized.form());
  ui::ListView& list = realized.list();

  std::vector<double> append_times;
  for (int run = 0; run < runs; ++run) {
    list.Clear();
    PaintNow(realized.form());
    append_times.push_back(Seconds([&] {
      list.BeginUpdate();
      for (int i = 0; i < kListEntries; ++i) list.AddItem(ThreatEntry(i));
      list.EndUpdate();
      PaintNow(realized.form());
    }));
  }
  list.Clear();
  PaintNow(realized.form());
  const double painted = Seconds([&] {
    for (int i = 0; i < kPaintedEntries; ++i) {
      list.AddItem(ThreatEntry(i));
      PaintNow(realized.form());
    }
  });
  std::vector<double> real_scan_times;
  tree.SetThreatCount(kThreatCounts.back());
  for (int run = 0; run < runs; ++run) {
    real_scan_times.push_back(Seconds([&] {
      realized.Scan(directory);
      PaintNow(realized.form());
    }));
  }

  std::printf("\nthe threat list as a real list view (medians):\n");
  char note[96];
  std::snprintf(note, sizeof note, "   (target < 1000 ms)%s",
                Median(append_times) < 1 ? " met" : " MISSED");
  Print("10000 entries appended, repainting suspended", Median(append_times), note);
  std::snprintf(note, sizeof note, "   (%.2f ms per entry)", painted * 1e3 / kPaintedEntries);
  Print("200 entries appended, each one painted", painted, note);
  std::snprintf(note, sizeof note, "   (%.3f x the headless scan)",
                Median(real_scan_times) / engine.rbegin()->second);
  Print("scan with 10000 threats into real controls", Median(real_scan_times), note);

  if (!keep_tree) tree.Remove();
  return met && Median(append_times) < 1 ? 0 : 2;
}
