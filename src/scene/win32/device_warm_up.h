#pragma once
// Loads Direct3D 8 and makes its object on a thread of its own while the saver window is sized and
// shown and the face pictures are written. Under Wine the first Direct3D object sets up OpenGL,
// most of the time before the first frame; made beside those steps it no longer adds to them.
// Start it only once the thread that makes it has made a window: while the window system is
// first loaded, another thread loading libraries can deadlock the process under Wine.
#include <windows.h>
#include <d3d8.h>

#include <thread>

#include "runtime/win32/handles.h"

namespace tolvenar::win32 {

class DeviceWarmUp {
 public:
  DeviceWarmUp();
  DeviceWarmUp(const DeviceWarmUp&) = delete;
  DeviceWarmUp& operator=(const DeviceWarmUp&) = delete;
  ~DeviceWarmUp();

  // Each waits for the thread, then hands over what it made: empty when that failed, was taken
  // before or the thread could not be started.
  UniqueModule TakeDirect3DLibrary();
  ComPtr<IDirect3D8> TakeDirect3D();

 private:
  void Wait();

  UniqueModule d3d8_;
  ComPtr<IDirect3D8> direct3d_;  // after its library, so released before it
  std::thread thread_;  // last: started once the members it fills exist, joined before they go
};

}  // namespace tolvenar::win32
