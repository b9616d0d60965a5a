#include "committed_data.h"

#include "data_set.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace toolstest {

std::string CommittedFile(const std::string& name) {
    return testsupport::ReadFileBytes(std::string(PIMURU_DATA_DIR) + "/" + name);
}

namespace {

TEST(CommittedData, EqualsWhatTheGeneratorWritesByteForByte) {
    testsupport::TempDir dir;
    const auto files = datamaker::MakeDataFiles();
    datamaker::WriteDataFiles(files, dir.Path());
    ASSERT_EQ(files.size(), 16u);
    for (const datamaker::DataFile& file : files) {
        const std::string generated = testsupport::ReadFileBytes(dir.File(file.name));
        const std::string committed = CommittedFile(file.name);
        ASSERT_EQ(generated, file.bytes) << file.name << " was not written as generated";
        if (committed == generated)
            continue;
        std::size_t at = 0;
        while (at < committed.size() && at < generated.size() && committed[at] == generated[at])
            ++at;
        ADD_FAILURE() << "data/" << file.name << " (" << committed.size() << " bytes) differs from the generator's "
                      << "output (" << generated.size() << " bytes) from byte " << at
                      << ". If the generator was changed on purpose, build the regenerate_data target and "
                         "commit data/.";
    }
}

TEST(CommittedData, WritingIntoAnUnwritablePlaceNamesTheFile) {
    testsupport::TempDir dir;
    testsupport::WriteFileBytes(dir.File("blocker"), "x");
    try {
        datamaker::WriteDataFiles({{"a.txt", "a"}}, dir.Path() / "blocker");
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("blocker"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace toolstest
