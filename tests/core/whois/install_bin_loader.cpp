// Every test in this executable sees the generated tables as the program's
// resources, whichever test runs first.
#include "whois/bin_file_loader.h"

namespace {

const bool installed = (InstallBinFileLoader(OL_GENERATED_DIR), true);

}  // namespace
