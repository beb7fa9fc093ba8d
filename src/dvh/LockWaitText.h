// What the window says while the program waits for another program's turn on a lock file.
#pragma once

#include <string>

/// The status text of a wait for the lock file `lockPath`: a store entry's lock
/// ("<folder>/12_H1.txt.lock") gives "Waiting for another save of 12_H1.txt ...", the settings
/// lock "Waiting for another instance's change of Tessaray.ini ...", any other "Waiting for
/// another program's turn on <file> ..." with the name of the file it guards.
std::string LockWaitText(const std::string& lockPath);
