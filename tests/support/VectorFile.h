// Readers of the tests' data files: the test vectors in tests/vectors, "[Algorithm]" sections of
// records with "In = <hex>", optional "Repeat = <count>", "Length = <bytes>" (In repeated and
// cut to that length) and other fields, closed by "Out = <hex>"; and the tables of cases that
// tests keep beside them as data.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tolvek::testing {

struct Vector {
    std::string algorithm;  // the section name
    std::string input;      // bytes, already repeated
    std::string expected;   // lower-case hex as written
    std::map<std::string, std::string> fields;  // every field of the record, as written
    std::string where;      // "file.vec:line" of its first line, to name the case
};

// Every vector of one file of tests/vectors; a malformed file throws std::runtime_error.
std::vector<Vector> ReadVectorFile(const std::string& fileName);

// Every vector of every file of tests/vectors, files in name order.
std::vector<Vector> ReadAllVectorFiles();

std::string VectorDirectory();

// A record of a case file (tests/<room>/*.cases): "Key = value" lines up to a blank line, "#"
// lines left out, a "[Section]" line naming the records after it. A value keeps its bytes, but
// for the escapes \n \r \t \\, \s (a space, for one at either end) and \xHH.
struct Case {
    std::string section;
    std::map<std::string, std::string> fields;
    std::string where;  // "file:line" of its first line

    bool has(const std::string& key) const { return fields.contains(key); }
    std::string get(const std::string& key, const std::string& fallback = {}) const;
};

// Every record of `name`, a file below tests/ ("checks/pastes.cases"); a malformed file throws
// std::runtime_error.
std::vector<Case> ReadCaseFile(const std::string& name);
// The records of one section of it.
std::vector<Case> ReadCaseFile(const std::string& name, const std::string& section);

// "a|b|" as {"a", "b", ""}, split at `separator`; the empty text has no part.
std::vector<std::string> SplitField(const std::string& text, char separator);

// A GoogleTest case name made of the vector's place ("sha_vec_12").
std::string VectorCaseName(const ::testing::TestParamInfo<Vector>& vectorInfo);

// A text as a GoogleTest name, each byte but letters and digits an underscore: "sha512-256"
// becomes "sha512_256".
std::string TestNameOf(std::string_view text);

std::string HexToBytes(const std::string& hex);
// The bytes i % 251 for i < size: no period that lines up with a block.
std::string PatternBytes(std::size_t size);
std::string BytesToHex(const std::string& bytes);

}  // namespace tolvek::testing
