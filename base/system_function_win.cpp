#include "base/system_function.h"

#include <cstring>

namespace {

std::string MissingFunctionList() {
    char buffer[1024] = {};
    const DWORD length = GetEnvironmentVariableA("SCREENSHOT_TEST_MISSING_FUNCTIONS", buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? "," + std::string(buffer, length) + "," : std::string();
}

}  // namespace

bool SystemFunctionHiddenByTest(const char* name) {
    static const std::string missing = MissingFunctionList();
    return !missing.empty() && missing.find("," + std::string(name) + ",") != std::string::npos;
}
