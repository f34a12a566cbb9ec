/*
 * Where the Quartus programmer lives: the one registry value the tool reads, opened for
 * reading only and never created.
 */
#include "chain/Jtagbus.h"

#include "base/Registry.h"

std::wstring TJtagBus::GetQuartusInstallDir() { return QuartusInstallFolder(); }
