#include "engine/counting/ordered_counter.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace tallix {

unsigned DefaultWorkers() {
    return std::max(1u, std::thread::hardware_concurrency());
}

OrderedCounter::OrderedCounter(CountOptions options, MemberHandler onMember, unsigned workers,
                               std::size_t window)
    : OrderedCounter(
          [options](const CountPlace& place, const std::string& name, FileLocator& locator) {
              return CountMember(place.folder, name, place.kind, options, locator);
          },
          std::move(onMember), workers, window) {
}

OrderedCounter::OrderedCounter(CountFunction count, MemberHandler onMember, unsigned workers,
                               std::size_t window)
    : count_(std::move(count)),
      onMember_(std::move(onMember)),
      window_(std::max<std::size_t>(window, 1)),
      locators_(std::max(workers, 1u)) {
    for (unsigned worker = 1; worker < locators_.size(); ++worker) {
        try {
            helpers_.emplace_back([this, worker] { Work(worker); });
        } catch (const std::system_error&) {
            break;  // no more threads to be had: those running share the work
        }
    }
}

OrderedCounter::~OrderedCounter() {
    {
        const std::lock_guard lock(lock_);
        stopping_ = true;
    }
    workWaiting_.notify_all();
    for (std::thread& helper : helpers_) {
        helper.join();
    }
}

void OrderedCounter::Add(std::shared_ptr<const CountPlace> place, std::string name) {
    std::unique_lock lock(lock_);
    ThrowIfFailed();
    Item& item = items_.emplace_back();
    item.place = std::move(place);
    item.name = std::move(name);
    waiting_.push_back(&item);
    ++members_;
    lock.unlock();
    workWaiting_.notify_one();
    lock.lock();
    while (members_ > window_ && Advance(lock)) {
    }
    ThrowIfFailed();
}

void OrderedCounter::AddMark(std::function<void()> onReached) {
    std::unique_lock lock(lock_);
    ThrowIfFailed();
    Item& item = items_.emplace_back();
    item.onReached = std::move(onReached);
    item.done = true;
    // Reached at once when nothing waits before it.
    while (!items_.empty() && items_.front().done && Advance(lock)) {
    }
}

void OrderedCounter::Finish() {
    std::unique_lock lock(lock_);
    while (Advance(lock)) {
    }
    ThrowIfFailed();
}

bool OrderedCounter::Advance(std::unique_lock<std::mutex>& lock) {
    if (failure_ || items_.empty()) {
        return false;
    }
    if (items_.front().done) {
        Item front = std::move(items_.front());
        items_.pop_front();
        members_ -= front.place ? 1 : 0;
        // Handed on without the lock: the helpers go on counting meanwhile.
        lock.unlock();
        if (front.place) {
            onMember_(front.counted);
        } else if (front.onReached) {
            front.onReached();
        }
        lock.lock();
        return true;
    }
    if (!waiting_.empty()) {
        Item* item = waiting_.front();
        waiting_.pop_front();
        lock.unlock();
        try {
            CountItem(*item, 0);
        } catch (...) {
            lock.lock();
            if (!failure_) {
                failure_ = std::current_exception();
            }
            return false;
        }
        lock.lock();
        item->done = true;
        return true;
    }
    itemDone_.wait(lock, [&] { return failure_ || items_.front().done || !waiting_.empty(); });
    return true;
}

void OrderedCounter::Work(unsigned worker) {
    std::unique_lock lock(lock_);
    for (;;) {
        workWaiting_.wait(lock, [&] { return stopping_ || failure_ || !waiting_.empty(); });
        if (stopping_ || failure_) {
            return;
        }
        Item* item = waiting_.front();
        waiting_.pop_front();
        lock.unlock();
        std::exception_ptr failure;
        try {
            CountItem(*item, worker);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        item->done = true;
        if (failure && !failure_) {
            failure_ = failure;  // the first one stands; later ones are dropped
        }
        itemDone_.notify_one();
    }
}

void OrderedCounter::CountItem(Item& item, unsigned worker) {
    item.counted = count_(*item.place, item.name, locators_[worker]);
}

void OrderedCounter::ThrowIfFailed() {
    if (failure_) {
        std::exception_ptr failure = failure_;
        stopping_ = true;
        workWaiting_.notify_all();
        std::rethrow_exception(failure);
    }
}

}  // namespace tallix
