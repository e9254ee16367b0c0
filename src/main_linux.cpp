// Program entry of the native Linux saver and the one place that makes the platform's services.
#include "runtime/linux/embedded_data_linux.h"

int main() {
  tolvenar::linux_port::LinuxEmbeddedData embedded;
  return embedded.Bytes("FACE1").empty() ? 1 : 0;
}
