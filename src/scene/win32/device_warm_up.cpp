#include "scene/win32/device_warm_up.h"

#include <system_error>
#include <utility>

#include "runtime/win32/system_function.h"

namespace tolvenar::win32 {

DeviceWarmUp::DeviceWarmUp() {
  try {
    thread_ = std::thread([this] {
      d3d8_ = UniqueModule(LoadLibraryA("d3d8.dll"));
      if (!d3d8_) return;
      using Create = IDirect3D8*(WINAPI*)(UINT);
      const auto create = ModuleFunction<Create>(d3d8_.get(), "Direct3DCreate8");
      if (create) direct3d_ = ComPtr<IDirect3D8>(create(D3D_SDK_VERSION));
    });
  } catch (const std::system_error&) {
    // Nothing made ahead: the scene makes it all itself, only later.
  }
}

DeviceWarmUp::~DeviceWarmUp() { Wait(); }

void DeviceWarmUp::Wait() {
  if (thread_.joinable()) thread_.join();
}

UniqueModule DeviceWarmUp::TakeDirect3DLibrary() {
  Wait();
  return std::move(d3d8_);
}

ComPtr<IDirect3D8> DeviceWarmUp::TakeDirect3D() {
  Wait();
  return std::move(direct3d_);
}

}  // namespace tolvenar::win32
