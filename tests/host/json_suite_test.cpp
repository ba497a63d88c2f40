// The public JSONTestSuite parsing cases: every y_ file must parse and every n_ file must fail,
// except where this parser differs from strict JSON on purpose (listed below with the reason).
// i_ files may go either way but must not crash or leak.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "json_test_util.h"

namespace fs = std::filesystem;

namespace {

// Valid JSON that this parser rejects, with the reason.
const std::map<std::string, const char*> kRejectedValid = {
    {"y_number_0e+1.json", "a number starting with 0 must have a point next"},
    {"y_number_0e1.json", "a number starting with 0 must have a point next"},
    {"y_object_duplicated_key.json", "a repeated key fails the parse"},
    {"y_object_duplicated_key_and_value.json", "a repeated key fails the parse"},
    {"y_object_escaped_null_in_key.json", "object keys cannot hold NUL"},
};

// Invalid JSON that this parser accepts, with the reason.
const char kTrailingComma[] = "a comma may follow the last member";
const char kTrailingText[] = "text after the first value is not examined";
const char kStrtod[] = "numbers are read by strtod, which takes these forms";
const std::map<std::string, const char*> kAcceptedInvalid = {
    {"n_array_extra_comma.json", kTrailingComma},
    {"n_array_number_and_comma.json", kTrailingComma},
    {"n_object_trailing_comma.json", kTrailingComma},
    {"n_object_lone_continuation_byte_in_key_and_trailing_comma.json",
     "a comma may follow the last member, and raw bytes in strings are not validated"},
    {"n_array_comma_after_close.json", kTrailingText},
    {"n_array_extra_close.json", kTrailingText},
    {"n_multidigit_number_then_00.json", "the text ends at its first NUL byte"},
    {"n_object_trailing_comment.json", kTrailingText},
    {"n_object_trailing_comment_open.json", kTrailingText},
    {"n_object_trailing_comment_slash_open.json", kTrailingText},
    {"n_object_trailing_comment_slash_open_incomplete.json", kTrailingText},
    {"n_object_with_trailing_garbage.json", kTrailingText},
    {"n_string_with_trailing_garbage.json", kTrailingText},
    {"n_structure_array_trailing_garbage.json", kTrailingText},
    {"n_structure_array_with_extra_array_close.json", kTrailingText},
    {"n_structure_close_unopened_array.json", kTrailingText},
    {"n_structure_double_array.json", kTrailingText},
    {"n_structure_number_with_trailing_garbage.json", kTrailingText},
    {"n_structure_object_followed_by_closing_object.json", kTrailingText},
    {"n_structure_object_with_trailing_garbage.json", kTrailingText},
    {"n_structure_trailing_#.json", kTrailingText},
    {"n_number_-2..json", kStrtod},
    {"n_number_0.e1.json", kStrtod},
    {"n_number_2.e+3.json", kStrtod},
    {"n_number_2.e-3.json", kStrtod},
    {"n_number_2.e3.json", kStrtod},
    {"n_number_neg_real_without_int_part.json", kStrtod},
    {"n_number_real_without_fractional_part.json", kStrtod},
    {"n_structure_whitespace_formfeed.json", "white space is the C library's isspace set"},
};

fs::path SuiteFolder() { return fs::path(SHARED_DATA_DIR) / "JSONTestSuite" / "test_parsing"; }

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(JsonTestSuite, ParsingCases) {
    const fs::path folder = SuiteFolder();
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        GTEST_SKIP() << "JSONTestSuite not found at " << folder.string();
    }
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const std::string text = ReadFile(entry.path());
        const bool parsed = Parse(text) != nullptr;
        if (name.rfind("y_", 0) == 0) {
            EXPECT_EQ(parsed, !kRejectedValid.count(name)) << name;
        } else if (name.rfind("n_", 0) == 0) {
            EXPECT_EQ(parsed, kAcceptedInvalid.count(name) > 0) << name;
        }
        ++checked;
    }
    EXPECT_GT(checked, 300);
}
