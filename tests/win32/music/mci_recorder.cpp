// Records how the platform's command-string service answers a script of commands, for the MCI
// emulator's transcripts. Usage: mci_recorder SCRIPT MEDIA_FOLDER OUTPUT
//
// Script lines, copied to OUTPUT in order:
//   # ...            a comment, copied as it is
//   !end ALIAS       waits (at most 10 s) until "status ALIAS mode" stops answering "playing"
//   !errors A B      one "?CODE<TAB>TEXT" line per code A..B that has a description
//   COMMAND          sent with a 512-byte reply buffer ("$MEDIA" stands for MEDIA_FOLDER);
//                    written as "COMMAND<TAB>ERROR<TAB>REPLY" with the command as the script has it
#include <windows.h>

#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string Expanded(std::string command, const std::string& media) {
  const std::string marker = "$MEDIA";
  for (std::size_t at = command.find(marker); at != std::string::npos;
       at = command.find(marker, at + media.size())) {
    command.replace(at, marker.size(), media);
  }
  return command;
}

std::string Send(const std::string& command, MCIERROR& error) {
  char reply[512] = {};
  error = mciSendStringA(command.c_str(), reply, sizeof reply, nullptr);
  return reply;
}

void WaitForEnd(const std::string& alias) {
  const ULONGLONG end = GetTickCount64() + 10000;
  MCIERROR error = 0;
  while (GetTickCount64() < end && Send("status " + alias + " mode", error) == "playing") {
    Sleep(20);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: mci_recorder SCRIPT MEDIA_FOLDER OUTPUT\n");
    return 2;
  }
  std::ifstream script(argv[1], std::ios::binary);
  std::FILE* out = std::fopen(argv[3], "wb");
  if (!script || !out) return 1;
  std::string line;
  while (std::getline(script, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') {
      std::fprintf(out, "%s\n", line.c_str());
    } else if (line.rfind("!end ", 0) == 0) {
      WaitForEnd(line.substr(5));
      std::fprintf(out, "%s\n", line.c_str());
    } else if (line.rfind("!errors ", 0) == 0) {
      std::fprintf(out, "%s\n", line.c_str());
      int first = 0;
      int last = 0;
      std::sscanf(line.c_str() + 8, "%d %d", &first, &last);
      for (int code = first; code <= last; ++code) {
        char text[256] = {};
        if (mciGetErrorStringA(static_cast<MCIERROR>(code), text, sizeof text)) {
          std::fprintf(out, "?%d\t%s\n", code, text);
        }
      }
    } else {
      MCIERROR error = 0;
      const std::string reply = Send(Expanded(line, argv[2]), error);
      std::fprintf(out, "%s\t%lu\t%s\n", line.c_str(), static_cast<unsigned long>(error),
                   reply.c_str());
    }
    std::fflush(out);
  }
  std::fclose(out);
  return 0;
}
