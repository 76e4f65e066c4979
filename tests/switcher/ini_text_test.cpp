// One key of an INI text read and changed the way the profile-string functions do, with every
// other line kept byte for byte.
#include "switcher/core/ini_text.h"

#include <gtest/gtest.h>

namespace panoptix {
namespace {

TEST(IniText, Reads) {
    struct Case {
        const char* text;
        const char* value;
    };
    for (const Case c : {
             Case{"", ""},
             Case{"[Settings]\r\ndecode_state=on\r\n", "on"},
             Case{"[settings]\ndecode_state =  On \n", "On"},
             Case{"[Other]\ndecode_state=on\n[Settings]\nx=1\n", ""},
             Case{"[Settings]\nDECODE_STATE=off", "off"},
             Case{"decode_state=on\n[Settings]\n", ""},
             Case{"[Settings]\n;decode_state=on\n", ""},
         }) {
        EXPECT_EQ(ReadIniValue(c.text, "Settings", "decode_state"), c.value) << c.text;
    }
    const std::string long_value = "[Settings]\ndecode_state=" + std::string(150, 'x') + "\n";
    EXPECT_EQ(ReadIniValue(long_value, "Settings", "decode_state").size(), 99u);
}

TEST(IniText, WritesThatKeyOnly) {
    struct Case {
        const char* text;
        const char* written;
    };
    for (const Case c : {
             Case{"", "[Settings]\r\ndecode_state=on\r\n"},
             Case{"[Settings]\r\ndecode_state=off\r\n; note\r\n",
                  "[Settings]\r\ndecode_state=on\r\n; note\r\n"},
             Case{"[A]\nk=1\n[settings]\nport = 9 \n\n[B]\nx=2",
                  "[A]\nk=1\n[settings]\nport = 9 \ndecode_state=on\n\n[B]\nx=2"},
             Case{"[Settings]\nDecode_State=On", "[Settings]\ndecode_state=on"},
             Case{"[Settings]\nport=1", "[Settings]\nport=1\ndecode_state=on\n"},
             Case{"; only a comment", "; only a comment\r\n[Settings]\r\ndecode_state=on\r\n"},
             Case{"[A]\nk=1\n", "[A]\nk=1\n[Settings]\ndecode_state=on\n"},
         }) {
        EXPECT_EQ(WriteIniValue(c.text, "Settings", "decode_state", "on"), c.written) << c.text;
    }
}

}  // namespace
}  // namespace panoptix
