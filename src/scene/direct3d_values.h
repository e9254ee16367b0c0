#pragma once
// The Direct3D 8 and DirectInput 8 values the scene passes through `Graphics3D`, named once for the
// scene that sends them and for the devices that read them.
#include <cstdint>

namespace tolvenar::d3d8 {

constexpr std::uint32_t kDefaultAdapter = 0;
constexpr std::uint32_t kDeviceTypeHal = 1;
constexpr std::uint32_t kSoftwareVertexProcessing = 0x20;
constexpr std::uint32_t kSwapEffectCopyVsync = 4;

constexpr std::uint32_t kRenderStateCullMode = 22;
constexpr std::uint32_t kRenderStateDither = 26;
constexpr std::uint32_t kRenderStateLighting = 137;
constexpr std::uint32_t kCullNone = 1;
constexpr std::uint32_t kCullClockwise = 2;
constexpr std::uint32_t kCullCounterClockwise = 3;

constexpr std::uint32_t kPoolManaged = 1;
constexpr std::uint32_t kFormatA8R8G8B8 = 21;
constexpr std::uint32_t kFormatX8R8G8B8 = 22;
constexpr std::uint32_t kFilterMask = 0xFF;  // the upper bits carry mirror and dither flags
constexpr std::uint32_t kFilterNone = 1;
constexpr std::uint32_t kFilterPoint = 2;

constexpr std::uint32_t kFormatXyz = 0x002;  // vertex format bits
constexpr std::uint32_t kFormatDiffuse = 0x040;
constexpr std::uint32_t kFormatTexturesShift = 8;

constexpr std::uint32_t kTransformView = 2;
constexpr std::uint32_t kTransformProjection = 3;
constexpr std::uint32_t kTransformWorld = 256;
constexpr std::uint32_t kClearTarget = 1;
constexpr std::uint32_t kTriangleStrip = 5;

constexpr std::uint32_t kMouseDataFormat = 2;
constexpr std::uint32_t kNonExclusiveBackground = 2 + 8;

}  // namespace tolvenar::d3d8
