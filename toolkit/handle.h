// Window and GDI handles as the application sees them: plain integers, so that layers
// above the toolkit need no Win32 header.
#pragma once

#include <cstdint>

using Handle = std::intptr_t;
