// A stand-in for the encoder in tests of the encoding run. It follows the script in the file
// "stand_in_encoder_script" of its working folder, one command a line:
//   stat N     the progress file "stat" gets N bytes
//   output N   the output file (the last argument) gets N bytes
//   wait FILE  waits until FILE exists in the working folder (at most 20 s)
//   exit N     ends with exit code N
// and records its arguments, one a line, in "stand_in_encoder_args.txt". With
// STAND_IN_ENCODER_SCRIPT set, the script is that file (for a program whose working folder the
// test does not know) and the arguments go to the same path with ".args" appended.
#include <unistd.h>

#include <cstdlib>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

namespace {

void WriteBytes(const std::string& path, long count) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << std::string(static_cast<size_t>(count), 'x');
}

bool Exists(const std::string& path) {
  return access(path.c_str(), F_OK) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* given = std::getenv("STAND_IN_ENCODER_SCRIPT");
  const std::string script_path = given ? given : "stand_in_encoder_script";
  {
    std::ofstream record(given ? script_path + ".args" : "stand_in_encoder_args.txt",
                         std::ios::binary);
    for (int i = 1; i < argc; ++i) record << argv[i] << '\n';
  }
  const std::string output = argc > 1 ? argv[argc - 1] : "";
  std::ifstream script(script_path);
  std::string command, value;
  while (script >> command >> value) {
    if (command == "stat") WriteBytes("stat", std::stol(value));
    if (command == "output") WriteBytes(output, std::stol(value));
    if (command == "exit") return std::stoi(value);
    if (command == "wait")
      for (int i = 0; i < 2000 && !Exists(value); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}
