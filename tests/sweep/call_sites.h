// The places where the program's logic calls the driver or one of the outside libraries it may reach
// directly, found from the sources: every use of an operation those libraries declare, called or handed
// on as a function pointer, outside comments.
#ifndef QM_TESTS_SWEEP_CALL_SITES_H
#define QM_TESTS_SWEEP_CALL_SITES_H

#include <set>
#include <string>
#include <vector>

struct CallSite {
    std::string file;  // relative to the source tree, "panel/frequency.cpp"
    int line = 0;
    std::string operation;
};

// The operations the driver's headers and the outside libraries' headers declare.
std::set<std::string> declaredOperations(const std::string& sourceDir);

// Every call site in the logic folders, in file and line order.
std::vector<CallSite> findCallSites(const std::string& sourceDir, const std::set<std::string>& operations);

#endif
