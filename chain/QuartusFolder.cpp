/*
 * Where the Quartus programmer lives: the one registry value the tool reads, opened for
 * reading only and never created.
 */
#include "chain/Jtagbus.h"

#include "base/Registry.h"

namespace {

constexpr char QUARTUS_KEY[] = "Software\\Altera Corporation\\Quartus";
constexpr char QUARTUS_VALUE[] = "Quartus Install Directory";

} // namespace

std::string TJtagBus::GetQuartusInstallDir() { return ReadMachineString(QUARTUS_KEY, QUARTUS_VALUE); }
