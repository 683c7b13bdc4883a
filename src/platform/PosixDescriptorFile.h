// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "platform/RandomAccessFile.h"

namespace versemark {

// A RandomAccessFile over an open POSIX file descriptor, which it closes.
std::unique_ptr<RandomAccessFile> AdoptFileDescriptor(int fd);

}  // namespace versemark
