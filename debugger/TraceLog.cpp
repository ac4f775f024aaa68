#include "debugger/TraceLog.h"

#include "debugger/History.h"

std::vector<TraceEntry> RecentSteps(History&, size_t) { return {}; }
std::string TraceLine(const TraceEntry&, int32_t) { return {}; }
void WriteTrace(const std::vector<TraceEntry>&, int32_t, std::ostream&) {}
