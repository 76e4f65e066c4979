// What panoptix-cli prints for a block it has read, without a device: the JSON a script gets.
#include "cli_json.h"

#include <gtest/gtest.h>

namespace panoptix::cli {
namespace {

// The status reply gives each line's name length only; a length above 32 is a wrong one.
TEST(CliJson, QuadviewLabelLengthsAreValidUpTo32) {
    Session session;
    session.quadview.umd_name_length = {32, 33, 4, 0};
    EXPECT_EQ(QuadviewStatusJson(session)["labels"], nlohmann::json::parse(R"([
        {"line": 1, "name_length": 32, "valid": true},
        {"line": 2, "name_length": 33, "valid": false},
        {"line": 3, "name_length": 4, "valid": true},
        {"line": 4, "name_length": 0, "valid": true}
    ])"));
}

}  // namespace
}  // namespace panoptix::cli
