// The lookup of network_drive.h on Windows.
#pragma once

#include <cstdint>

// WNetGetConnectionA, loaded from mpr.dll when first needed, so that setup
// starts even where that library is missing. A missing library raises 53 and
// a missing function 453, as a declared library function would.
int32_t GetConnectionFromMpr(const char* local_name, char* remote_name, uint32_t* length);
