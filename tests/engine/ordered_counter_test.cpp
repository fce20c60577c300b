#include "engine/counting/ordered_counter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "engine/counting/set_count.h"
#include "temp_dir.h"

namespace tallix {
namespace {

using namespace std::chrono_literals;

// A count that needs no file: the member's lines are the number its name ends in.
MemberCount FakeCount(const std::string& name) {
    MemberCount member;
    member.name = name;
    member.lines = std::stoll(name.substr(1));
    return member;
}

std::shared_ptr<const CountPlace> Place() {
    return std::make_shared<const CountPlace>(CountPlace{"", SourceKind::Vb6});
}

TEST(OrderedCounter, HandsMembersAndMarksOnInTheOrderAdded) {
    for (const unsigned workers : {0u, 1u, 2u, 7u}) {
        for (const std::size_t window : {std::size_t{1}, std::size_t{3}, std::size_t{4096}}) {
            std::vector<std::string> seen;
            std::size_t added = 0;
            std::size_t handed = 0;
            std::size_t mostHeld = 0;
            OrderedCounter counter(
                [](const CountPlace&, const std::string& name, FileLocator&) {
                    // Later members finish first, so order comes from the counter alone.
                    std::this_thread::sleep_for(std::chrono::microseconds(50 - 2 * name.size()));
                    return FakeCount(name);
                },
                [&](const MemberCount& member) {
                    seen.push_back(member.name);
                    ++handed;
                },
                workers, window);
            std::vector<std::string> expected;
            for (int i = 0; i < 25; ++i) {
                if (i % 10 == 0) {
                    counter.AddMark([&, i] { seen.push_back("mark" + std::to_string(i)); });
                    expected.push_back("mark" + std::to_string(i));
                }
                counter.Add(Place(), "m" + std::to_string(i));
                expected.push_back("m" + std::to_string(i));
                ++added;
                mostHeld = std::max(mostHeld, added - handed);
            }
            counter.Finish();
            EXPECT_EQ(seen, expected) << workers << " workers, window " << window;
            EXPECT_LE(mostHeld, window) << workers << " workers, window " << window;
        }
    }
}

TEST(OrderedCounter, AMarkWithNothingBeforeItIsReachedAtOnce) {
    bool reached = false;
    OrderedCounter counter(
        CountOptions{}, [](const MemberCount&) {}, 2);
    counter.AddMark([&] { reached = true; });
    EXPECT_TRUE(reached);
}

TEST(OrderedCounter, ZeroWorkersCountOnTheCallersThread) {
    const auto caller = std::this_thread::get_id();
    std::atomic<bool> elsewhere{false};
    std::vector<std::int64_t> lines;
    OrderedCounter counter(
        [&](const CountPlace&, const std::string& name, FileLocator&) {
            elsewhere = elsewhere || std::this_thread::get_id() != caller;
            return FakeCount(name);
        },
        [&](const MemberCount& member) { lines.push_back(member.lines); }, 0, 2);
    for (const char* name : {"m4", "m1", "m7"}) {
        counter.Add(Place(), name);
    }
    counter.Finish();
    EXPECT_EQ(lines, (std::vector<std::int64_t>{4, 1, 7}));
    EXPECT_FALSE(elsewhere);
}

TEST(OrderedCounter, ZeroWorkersCountRealMembersWithALocatorOfTheirOwn) {
    testing::TempDir dir;
    dir.Write("Mod.bas", "Attribute VB_Name = \"M\"\r\nx = 1\r\n");
    // Found in another case: the look-up runs on the caller's own locator.
    const auto members = CountMembers(dir.Str() + testing::kSeparator, {"mod.BAS", "gone.bas"},
                                      SourceKind::Vb6, {}, 0);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].lines, 1);
    EXPECT_EQ(members[1].problem.error, FileError::Missing);
}

TEST(OrderedCounter, AddWakesAnIdleHelper) {
    std::atomic<bool> counted{false};
    OrderedCounter counter(
        [&](const CountPlace&, const std::string& name, FileLocator&) {
            counted = true;
            return FakeCount(name);
        },
        [](const MemberCount&) {}, 2);
    std::this_thread::sleep_for(20ms);  // the helper has gone to sleep
    counter.Add(Place(), "m1");
    // The caller does nothing more: only the helper can count the member.
    for (int i = 0; i < 500 && !counted; ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(counted) << "no helper woke for the member added";
    counter.Finish();
}

TEST(OrderedCounter, AFailedCountStopsTheRestAndIsThrownOnce) {
    std::atomic<int> counts{0};
    std::vector<std::string> seen;
    OrderedCounter counter(
        [&](const CountPlace&, const std::string& name, FileLocator&) {
            ++counts;
            if (name == "m3" || name == "m5") {
                throw std::runtime_error(name);
            }
            return FakeCount(name);
        },
        [&](const MemberCount& member) { seen.push_back(member.name); }, 1, 100);
    for (int i = 0; i < 10; ++i) {
        counter.Add(Place(), "m" + std::to_string(i));
    }
    try {
        counter.Finish();
        ADD_FAILURE() << "the failure was not passed on";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "m3");
    }
    EXPECT_EQ(counts, 4) << "nothing is counted after the failure";
    EXPECT_EQ(seen, (std::vector<std::string>{"m0", "m1", "m2"}));
}

TEST(OrderedCounter, TheFirstFailureOnAHelperWinsOverALaterOne) {
    std::atomic<bool> firstThrown{false};
    std::atomic<bool> added{false};
    OrderedCounter counter(
        [&](const CountPlace&, const std::string& name, FileLocator&) -> MemberCount {
            if (name == "m1") {
                // Not before both are added: no Add may see a failure, only Finish.
                while (!added) {
                    std::this_thread::sleep_for(1ms);
                }
                firstThrown = true;
                throw std::runtime_error("first");
            }
            while (!firstThrown) {
                std::this_thread::sleep_for(1ms);
            }
            std::this_thread::sleep_for(30ms);  // the first failure is recorded by now
            throw std::runtime_error("later");
        },
        [](const MemberCount&) {}, 3);
    counter.Add(Place(), "m2");
    counter.Add(Place(), "m1");
    added = true;
    std::this_thread::sleep_for(100ms);  // both are the helpers', and both have failed
    try {
        counter.Finish();
        ADD_FAILURE() << "the failure was not passed on";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "first");
    }
}

}  // namespace
}  // namespace tallix
