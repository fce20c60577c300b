#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/counting/member_count.h"

namespace tallix {

// The number of threads worth using: one per processor, at least one.
unsigned DefaultWorkers();

// Where a member is counted: its project's folder and the rules of the project's kind.
struct CountPlace {
    std::string folder;
    SourceKind kind = SourceKind::Vb6;
};

// Counts members on up to `workers` threads, the caller's among them, and hands each one
// on in the order added, on the caller's thread, as soon as every member added before it
// has been handed on. Marks added between members are reached in their place, so that a
// caller can tell where one project ends and the next begins. At most `window` members
// are held, counted or waiting, however many are added: Add then counts or hands on
// before it returns. Memory therefore stays flat for a set of any size.
class OrderedCounter {
public:
    using MemberHandler = std::function<void(const MemberCount& member)>;
    // Counts one member; called on any of the threads, with that thread's own locator.
    using CountFunction = std::function<MemberCount(const CountPlace& place,
                                                    const std::string& name, FileLocator& locator)>;
    static constexpr std::size_t kDefaultWindow = 4096;

    // Members counted by CountMember under the options.
    OrderedCounter(CountOptions options, MemberHandler onMember,
                   unsigned workers = DefaultWorkers(), std::size_t window = kDefaultWindow);
    OrderedCounter(CountFunction count, MemberHandler onMember, unsigned workers,
                   std::size_t window = kDefaultWindow);
    // Stops the helper threads; what was not handed on by then is dropped.
    ~OrderedCounter();
    OrderedCounter(const OrderedCounter&) = delete;
    OrderedCounter& operator=(const OrderedCounter&) = delete;

    void Add(std::shared_ptr<const CountPlace> place, std::string name);
    void AddMark(std::function<void()> onReached);
    // Hands on everything added. The first exception a count threw is thrown again here
    // (or by an Add) on the caller's thread, and nothing is counted after it.
    void Finish();

private:
    struct Item {
        std::shared_ptr<const CountPlace> place;  // null for a mark
        std::string name;
        std::function<void()> onReached;
        MemberCount counted;
        bool done = false;
    };

    void Work(unsigned worker);
    // With the lock held: hands on what is ready at the front, counts one waiting member
    // itself, or else waits for a helper. Returns false when nothing was left to do.
    bool Advance(std::unique_lock<std::mutex>& lock);
    void CountItem(Item& item, unsigned worker);
    void ThrowIfFailed();

    CountFunction count_;
    MemberHandler onMember_;
    std::size_t window_;
    std::vector<FileLocator> locators_;  // one per thread, kept from member to member
    std::mutex lock_;
    std::condition_variable workWaiting_;
    std::condition_variable itemDone_;
    std::deque<Item> items_;     // in the order added; the front is handed on next
    std::deque<Item*> waiting_;  // members no thread has taken yet
    std::size_t members_ = 0;    // members among items_
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::vector<std::thread> helpers_;
};

}  // namespace tallix
