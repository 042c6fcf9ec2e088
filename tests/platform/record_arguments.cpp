// A stand-in for the companion programs in tests: writes the folder it runs in and every
// argument it got, one a line, to "stand_in_record.txt" in that folder. With
// STAND_IN_LINGER_MS set it first stays that long, like a program that takes its time.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

int main(int argc, char** argv) {
  if (const char* linger = std::getenv("STAND_IN_LINGER_MS")) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(linger)));
  }
  char folder[4096];
  if (!getcwd(folder, sizeof folder)) return 1;
  {
    std::ofstream record("stand_in_record.tmp", std::ios::binary);
    record << folder << '\n';
    for (int i = 1; i < argc; ++i) record << argv[i] << '\n';
    if (!record) return 1;
  }
  // Renamed into place, so that a test that sees the record sees all of it.
  return std::rename("stand_in_record.tmp", "stand_in_record.txt") == 0 ? 0 : 1;
}
