// Starting the user's web browser on an address: the command registered for
// http under HKEY_CLASSES_ROOT, else whatever the shell opens addresses with.
#pragma once

#include <windows.h>

#include <string>

// The command line that starts the registered browser command with address:
// its first "%1" (quoted or not) replaced by the address, or, without one,
// the address appended after a blank. Nothing else of the command is
// interpreted, so "%L", "%*" or "%s" in it stay as they are. False, with
// commandLine untouched, when the command is empty, the address holds a
// double quote (it would end the quoted argument early) or the line would be
// longer than a process can be started with.
bool MakeBrowserCommandLine(const std::wstring& command, const std::wstring& address, std::wstring& commandLine);

// The default value of HKEY_CLASSES_ROOT\http\shell\open\command, its
// environment variables expanded; false when there is none.
bool ReadBrowserCommand(std::wstring& command);

// Starts the registered browser on address; when none is registered or it
// does not start, asks the shell to open the address. Whether something
// started.
bool OpenUrlInBrowser(const std::wstring& address);
