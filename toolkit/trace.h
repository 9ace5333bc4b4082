// Timed marks for the benchmark's trace of one command. Only the benchmark's own build of the program
// (target quorrel-trace) defines QUORREL_TRACE; everywhere else a mark is compiled to nothing.
// With QUORREL_TRACE, a mark appends "<QueryPerformanceCounter ticks> <ticks a second> <thread id> <what>"
// to the file named by the environment variable QUORREL_TRACE_FILE; without that variable it does nothing.
#pragma once

#ifdef QUORREL_TRACE
void TraceMark(const char* what);
#define QUORREL_TRACE_MARK(what) TraceMark(what)
#else
#define QUORREL_TRACE_MARK(what) static_cast<void>(0)
#endif
