// The matrix command texts, byte for byte.
#include "matrix/core/matrix_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace panoptix {
namespace {

struct TextCase {
    const char* what;
    std::string built;
    const char* golden;  // "" = nothing is built, so nothing goes on the wire
};

TEST(MatrixTexts, GoldenTexts) {
    const MatrixRoutes none{};
    const TextCase cases[] = {
        {"input 3 to all outputs", OneToAllText(3), "3All."},
        {"one to one", OneToOneText(), "All#."},
        {"input 1 on outputs 2 and 3", ApplyText(1, {0, 1, 1, 0, 0, 0, 0, 0}), "1V2,3."},
        {"input 8 on output 8 alone", ApplyText(8, {1, 2, 3, 4, 5, 6, 7, 8}), "8V8."},
        {"input 1 on all eight outputs", ApplyText(1, {1, 1, 1, 1, 1, 1, 1, 1}),
         "1V1,2,3,4,5,6,7,8."},
        {"other inputs' outputs are left out", ApplyText(5, {5, 2, 5, 0, 0, 3, 0, 5}), "5V1,3,8."},
        {"nothing routed from the input", ApplyText(4, {1, 2, 3, 0, 5, 6, 7, 8}), ""},
        // Numbers outside 1..8 build nothing; an input 0 must not claim the unrouted outputs.
        {"apply for input 0", ApplyText(0, none), ""},
        {"apply for input 9", ApplyText(9, {9, 9, 9, 9, 9, 9, 9, 9}), ""},
        {"input 0 to all outputs", OneToAllText(0), ""},
        {"input 9 to all outputs", OneToAllText(9), ""},
        {"input 200 to all outputs", OneToAllText(200), ""},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(c.built, c.golden) << c.what;
    }
    EXPECT_EQ(ApplyText(1, {1, 1, 1, 1, 1, 1, 1, 1}).size(), 18u);
}

}  // namespace
}  // namespace panoptix
