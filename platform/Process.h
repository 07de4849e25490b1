// What a command-line tool asks of its own process: whether standard error is a terminal, its
// process number, and a last word when a loaded plug-in crashes it. Tools only; plug-in
// libraries never link it.
#pragma once

namespace quorvel::platform {

bool standardErrorIsTerminal();
long processId();

// From now on a crash (a fatal signal such as a segmentation fault or an abort) removes the
// file named by removeOnCrash, writes message and a newline to standard error and ends the
// process with exit code 3, instead of dying with a half-written file around.
void reportCrashes(const char* message);
// The file a crash removes, copied into fixed storage; null or "" for none.
void removeOnCrash(const char* path);

} // namespace quorvel::platform
