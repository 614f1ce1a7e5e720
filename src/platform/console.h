#pragma once

// The console a command-line program runs in.

// Makes the console take UTF-8 text and turns Ctrl-C (and a polite request
// to stop) into interruptRequested() instead of ending the program, so a
// command can finish the frame it is writing and close the port first.
void setUpConsole();

// True once the user has asked the program to stop. Safe to poll anytime.
bool interruptRequested();

// Whether standard error is a terminal, where a progress line can be
// rewritten in place.
bool stderrIsTerminal();
