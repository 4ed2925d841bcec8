// The module never reaches a network: the shared library asks its loader for no socket or name-lookup function.
#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

namespace module_network_test {

TEST(ModuleNetwork, NoSocketOrNameLookupIsImported) {
    const std::string command = "nm -D --undefined-only '" + TestSupport::BinDir() + "/liblodravix.so' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buf[512];
    while (fgets(buf, sizeof buf, pipe) != nullptr) out += buf;
    ASSERT_EQ(pclose(pipe), 0) << out;

    const std::set<std::string> network = {
        "socket",  "connect",     "getaddrinfo", "gethostbyname", "gethostbyname2", "bind",     "listen",
        "accept",  "accept4",     "send",        "sendto",        "sendmsg",        "recv",     "recvfrom",
        "recvmsg", "getnameinfo", "socketpair",  "res_query",     "gethostbyaddr",  "inet_pton"};
    std::istringstream lines(out);
    std::string line;
    int imported = 0;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string kind, name;
        if (!(words >> kind >> name)) continue;
        name = name.substr(0, name.find('@'));
        ++imported;
        EXPECT_EQ(network.count(name), 0u) << name;
    }
    EXPECT_GT(imported, 0) << out;  // the listing was read at all
}

}  // namespace module_network_test
