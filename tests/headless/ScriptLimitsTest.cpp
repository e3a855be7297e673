// What a script cannot do to the driver: nest "repeat" blocks without end,
// or take it down by running it out of memory.
#include "FolderFiles.h"
#include "OutOfMemory.h"
#include "Script.h"
#include "TestData.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace korvath;
using namespace korvath::test;

namespace {

// Output that goes nowhere, and never needs memory to get there.
struct Nowhere : std::streambuf {
    int overflow(int c) override { return c; }
};

class ScriptLimits : public ::testing::Test {
  protected:
    ScriptLimits() : runner(game.path.string(), out, err) {
        TestScenario().write(game.path);
        run("start korvath 3\n");
    }
    int run(const std::string& script) {
        err.str("");
        std::istringstream in(script);
        return runner.run(in, "limits.kvs");
    }
    // DEPTH "repeat 1" blocks one inside the other, a dump in the middle.
    static std::string nested(int depth) {
        std::string s;
        for (int i = 0; i < depth; ++i) s += "repeat 1\n";
        s += "dump\n";
        for (int i = 0; i < depth; ++i) s += "end\n";
        return s;
    }
    TempDir game;
    Nowhere nowhere;
    std::ostream out{&nowhere};
    std::ostringstream err;
    ScriptRunner runner;
};

} // namespace

// 64 blocks deep is the most; deeper is an error naming the line, found in
// time linear in the script and on a small stack.
TEST_F(ScriptLimits, RepeatBlocksNestAtMost64Deep) {
    const struct {
        int depth;
        int status;
    } cases[] = {{64, 0}, {65, 2}, {20000, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.depth);
        int status = -1;
        onSmallStack(256 << 10, [&] { status = run(nested(c.depth)); });
        EXPECT_EQ(status, c.status) << err.str();
        if (c.status != 0) {
            EXPECT_EQ(err.str(), "limits.kvs, line 65: \"repeat\" blocks nest at most 64 deep\n");
        }
    }
}

// However early a dump runs out of memory, the script stops with status 2
// and says so, as every other allocation that fails does.
TEST_F(ScriptLimits, RunningOutOfMemoryInADumpIsAnError) {
    for (size_t room : {size_t{0}, size_t{100}, size_t{10'000}, size_t{100'000}, size_t{300'000}}) {
        SCOPED_TRACE(room);
        ASSERT_EQ(run(""), 0); // memory held back again for the way out
        std::istringstream dump("dump map glyphs pictures\n");
        err.str("");
        limitMemory(room);
        const int status = runner.run(dump, "limits.kvs");
        unlimitMemory();
        EXPECT_EQ(status, 2);
        EXPECT_EQ(err.str(), "limits.kvs, line 1: out of memory\n");
    }
    EXPECT_EQ(run("dump\n"), 0) << err.str();
}
