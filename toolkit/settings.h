// Named values in initialisation files or the registry, addressed by store, section and key.
// A store starting with "HKEY_" is a registry root ("HKEY_0".."HKEY_6", "_DW_" for DWORD
// values); any other store is the path of an initialisation file. Program thread only.
#pragma once

#include "toolkit/text.h"

Text ReadSetting(const Text& store, const Text& section, const Text& key);
void WriteSetting(const Text& store, const Text& section, const Text& key, const Text& value);
