#pragma once
// What the native tests share: a scratch folder removed with everything in
// it when the test ends, whole-file reads and writes, the text a language
// table gives, and a fixture whose tables lie in its own scratch folder.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "text/LanguageTable.h"

class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vtext-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~TempDir() {
        std::error_code ignored; // an empty path is no folder to remove
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool Valid() const { return !m_path.empty(); }
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
    return out.good();
}

inline bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

// The text of `index` up to its first NUL, or nullopt when there is none.
inline std::optional<std::string> TextAt(CLanguageTable& table, int index) {
    CHeapBlock<char> block = table.GetString(index);
    if (!block) {
        return std::nullopt;
    }
    return std::string(block.Get());
}

// Whether `text` holds `part`; a failure shows both.
inline ::testing::AssertionResult Contains(const std::string& text, const std::string& part) {
    if (text.find(part) != std::string::npos) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "\"" << part << "\" is not in:\n" << text;
}

// A test whose tables lie in a fresh scratch folder.
class ScratchTablesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_dir.Valid()); }

    std::string Base(const char* name = "lang") const { return m_dir.File(name); }
    static bool NoTable(const std::string& base) {
        return !Exists(base + ".sif") && !Exists(base + ".poo");
    }

    TempDir m_dir;
};
