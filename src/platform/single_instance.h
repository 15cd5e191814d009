#pragma once
// The Linux port's single-instance lock: a Unix socket bound to a name in the abstract
// namespace. The kernel keeps the name only while a socket holds it and frees it when the
// process ends, whichever way it ends, so nothing is left in the file system and there is no
// file for anyone else to plant in advance.

// Takes the lock `name` for the rest of the process's life. False only when another process
// holds it already. Any other failure (no socket to be had, a name too long) lets this copy
// run, as the Win32 backend does when its mutex cannot be made.
bool takeSingleInstanceLock(const char* name);
