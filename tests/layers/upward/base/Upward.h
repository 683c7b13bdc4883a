// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A leaf file that includes the window: the layer check must reject this folder.
#include "base/FileNames.h"
#include "window/QtWindow.h"
