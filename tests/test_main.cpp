// The test program's entry. Besides GoogleTest's own report, a run that had failures ends with
// the commands that repeat them: each failing test alone, and the same order of the same shard
// (the shuffled runs of the suite are cut into shards, see tests/shuffled.sh). With
// MORVANTA_TEST_COUNTS naming a file, the run appends one line "passed failed" to it, so that a
// runner of several shards can add up the tests.
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

class RepeatHints : public ::testing::EmptyTestEventListener {
  public:
    explicit RepeatHints(std::string program) : program_(std::move(program)) {}

  private:
    void OnTestProgramEnd(const ::testing::UnitTest& unit) override {
        const int failed = unit.failed_test_count();
        if (const char* counts = std::getenv("MORVANTA_TEST_COUNTS"); counts && *counts) {
            if (std::FILE* f = std::fopen(counts, "a")) {
                std::fprintf(f, "%d %d\n", unit.successful_test_count(), failed);
                std::fclose(f);
            }
        }
        if (failed == 0) return;
        std::string filter;
        for (int i = 0; i < unit.total_test_suite_count(); ++i) {
            const ::testing::TestSuite& suite = *unit.GetTestSuite(i);
            for (int j = 0; j < suite.total_test_count(); ++j) {
                const ::testing::TestInfo& test = *suite.GetTestInfo(j);
                if (!test.result()->Failed()) continue;
                if (!filter.empty()) filter += ':';
                filter += std::string(suite.name()) + "." + test.name();
            }
        }
        std::printf("\nTo run the failing tests alone:\n  %s --gtest_filter='%s'\n",
                    program_.c_str(), filter.c_str());
        if (::testing::GTEST_FLAG(shuffle)) {
            const char* total = std::getenv("GTEST_TOTAL_SHARDS");
            const char* index = std::getenv("GTEST_SHARD_INDEX");
            std::printf("To repeat this run's order:\n  ");
            if (total && index)
                std::printf("GTEST_TOTAL_SHARDS=%s GTEST_SHARD_INDEX=%s ", total, index);
            std::printf("%s --gtest_shuffle --gtest_random_seed=%d\n", program_.c_str(),
                        unit.random_seed());
        }
        std::fflush(stdout);
    }
    std::string program_;
};

} // namespace

int main(int argc, char** argv) {
    // `--placeholder-content` only makes the placeholder content that every test starts from
    // (kept where MORVANTA_PLACEHOLDER_CACHE says), so that the shards that start next find it.
    if (argc == 2 && std::strcmp(argv[1], "--placeholder-content") == 0) {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        return b.entries().empty() ? 1 : 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new RepeatHints(argv[0]));
    return RUN_ALL_TESTS();
}
