#pragma once
// Owners of the C library's handles, on the shared owning template.
#include <iconv.h>
#include <unistd.h>

#include "runtime/unique_resource.h"

namespace tolvenar::linux_port {

struct CloseFd {
  void operator()(int fd) const { close(fd); }
};
// A file descriptor; -1, the failure value of open and its kin, counts as none.
using UniqueFd = UniqueResource<int, CloseFd, -1>;

struct CloseIconv {
  void operator()(iconv_t converter) const { iconv_close(converter); }
};
// A converter of iconv_open, owned once it is known to be one (its failure value is not null).
using UniqueIconv = UniqueResource<iconv_t, CloseIconv>;

}  // namespace tolvenar::linux_port
