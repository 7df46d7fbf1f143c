#pragma once
// A BIN resource loader that reads the generated table files from a folder,
// for the native tests, benchmarks and fuzz targets, which have no module
// resources. The files are the same ones the Windows resources are built from.

// Installs a loader reading country_table.bin, state_table.bin and
// first_octet_table.bin from directory (kept, so it must outlive the loader).
void InstallBinFileLoader(const char* directory);
