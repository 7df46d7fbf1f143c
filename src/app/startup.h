#pragma once
// Start-up steps of the program that the tests drive as well.

#include "app/command_line.h"
#include "app/main_window.h"

// Process-wide services before any window: resource tables, the fault
// reporter.
void PrepareProcess();

// "/savelangfile": writes the language file template beside the program.
void WriteLanguageTemplate();

// "/deleteregkey" and "/noloadsettings": HKCU\Software\Velmora\Ownerlens.
void DeleteSettingsRegistryKey();

// "/ip", "/ipfile" or the address dialog at start, as posted messages.
void QueueCommandLineAddresses(MainWindow& window, const CommandLine& commandLine);

// Reads a whole file into the address text and posts UM_RUNADDRESSTEXT,
// whether or not the file could be read.
void LoadAddressFile(MainWindow& window, const char* path);
