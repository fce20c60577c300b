#include "engine/listing/listing.h"

#include "engine/listing/counted_lines.h"
#include "engine/listing/decoded_lines.h"
#include "engine/listing/on_threads.h"
#include "engine/listing/printed_measure.h"

namespace tallix {

namespace {

// Read size for members: small enough to stay in the processor's cache, and on the stack.
constexpr std::size_t kBlockSize = 64 * 1024;

// Hands on the printed lines whose index in the whole listing falls in the wanted ranges;
// the others it only counts, decoding none of the lines that print on one line.
class PrintedLineSelector : public RawLineSink {
public:
    using Wanted = std::function<bool(std::int64_t index)>;
    using Take = std::function<void(std::int64_t index, std::string_view text)>;

    PrintedLineSelector(const ListingStyle& style, std::int64_t firstIndex, Wanted wanted,
                        Take take)
        : style_(style),
          next_(firstIndex),
          wanted_(std::move(wanted)),
          take_(std::move(take)),
          wrapper_(style, [this](std::string_view text) {
              if (wanted_(next_)) {
                  take_(next_, text);
              }
              ++next_;
          }) {}

    void Begin(TextEncoding encoding) override { decoder_.Begin(encoding); }

    void Piece(std::string_view bytes, bool endsLine) override {
        if (!lineOpen_ && endsLine && FitsUnmeasured(bytes, style_) && !wanted_(next_)) {
            ++next_;
            return;
        }
        lineOpen_ = !endsLine;
        decoder_.Piece(bytes, endsLine);
    }

    std::int64_t Next() const { return next_; }

private:
    const ListingStyle& style_;
    std::int64_t next_;
    Wanted wanted_;
    Take take_;
    LineWrapper wrapper_;
    LineDecoder decoder_{wrapper_};
    bool lineOpen_ = false;
};

// Feeds a whole source through the reader; the source's problem, if it failed.
FileProblem ReadThrough(ByteSource& source, CountedLineReader& reader) {
    char buffer[kBlockSize];
    while (const std::size_t got = source.Read(buffer, sizeof buffer)) {
        reader.Feed({buffer, got});
    }
    if (source.Problem().error == FileError::None) {
        reader.Finish();
    }
    return source.Problem();
}

void Measure(ListingMember& member, CountOptions options, const ListingStyle& style) {
    InputFile file = InputFile::Open(member.path);
    if (!file.IsOpen()) {
        member.problem = file.Problem();
        return;
    }
    const MemberMeasure measure = MeasureSource(file, member.kind, options, style);
    member.lines = measure.lines;
    member.printed = measure.printed;
    member.problem = measure.problem;
}

}  // namespace

std::int64_t ListingPlan::DepositedPageCount() const {
    std::int64_t count = 0;
    for (const PageRange& range : deposited) {
        count += range.Count();
    }
    return count;
}

MemberMeasure MeasureSource(ByteSource& source, SourceKind kind, CountOptions options,
                            const ListingStyle& style) {
    PrintedLineMeasure measure(kind, options, style);
    char buffer[kBlockSize];
    while (const std::size_t got = source.Read(buffer, sizeof buffer)) {
        measure.Feed({buffer, got});
    }
    MemberMeasure result;
    result.problem = source.Problem();
    // A file that fails half-way lists nothing rather than a part that looks complete.
    if (result.problem.error == FileError::None) {
        measure.Finish();
        result.lines = measure.Listed();
        result.printed = measure.Printed();
    }
    return result;
}

ListingPlan PlanListing(std::vector<ListingMember> members, CountOptions options,
                        const ListingStyle& style, bool allPages, unsigned workers) {
    OnThreads(members.size(), workers, [&](std::size_t i, unsigned) {
        if (members[i].problem.error == FileError::None) {
            Measure(members[i], options, style);
        }
    });
    ListingPlan plan;
    plan.members = std::move(members);
    for (const ListingMember& member : plan.members) {
        plan.lines += member.lines;
        plan.printedLines += member.printed;
    }
    plan.pages = PagesFor(plan.printedLines);
    plan.deposited = DepositedPages(plan.pages, allPages);
    return plan;
}

ListingEnd ListDepositedPages(const ListingPlan& plan, CountOptions options,
                              const ListingStyle& style, const DepositedLineVisitor& onLine) {
    // The printed lines of each deposited range, and the deposit's page before it.
    struct Span {
        std::int64_t begin, end, pagesBefore;
    };
    std::vector<Span> spans;
    std::int64_t pagesBefore = 0;
    for (const PageRange& range : plan.deposited) {
        spans.push_back({(range.first - 1) * kLinesPerPage,
                         std::min(range.last * kLinesPerPage, plan.printedLines), pagesBefore});
        pagesBefore += range.Count();
    }
    const auto spanOf = [&](std::int64_t index) -> const Span* {
        for (const Span& span : spans) {
            if (index >= span.begin && index < span.end) {
                return &span;
            }
        }
        return nullptr;
    };
    const auto intersects = [&](std::int64_t begin, std::int64_t end) {
        for (const Span& span : spans) {
            if (begin < span.end && span.begin < end) {
                return true;
            }
        }
        return false;
    };

    bool stopped = false;
    std::int64_t handed = 0;
    std::int64_t first = 0;
    for (const ListingMember& member : plan.members) {
        const std::int64_t end = first + member.printed;
        if (member.printed == 0 || !intersects(first, end)) {
            first = end;
            continue;
        }
        InputFile file = InputFile::Open(member.path);
        if (!file.IsOpen()) {
            return ListingEnd::Changed;
        }
        PrintedLineSelector selector(
            style, first, [&](std::int64_t index) { return !stopped && spanOf(index) != nullptr; },
            [&](std::int64_t index, std::string_view text) {
                const Span& span = *spanOf(index);
                const std::int64_t inSpan = index - span.begin;
                const DepositedLine line{span.pagesBefore + inSpan / kLinesPerPage + 1,
                                         static_cast<int>(inSpan % kLinesPerPage), text};
                ++handed;
                stopped = !onLine(line);
            });
        CountedLineReader reader(member.kind, options, selector);
        if (ReadThrough(file, reader).error != FileError::None || selector.Next() != end) {
            return ListingEnd::Changed;
        }
        if (stopped) {
            return ListingEnd::Stopped;
        }
        first = end;
    }
    std::int64_t wanted = 0;
    for (const Span& span : spans) {
        wanted += span.end - span.begin;
    }
    return handed == wanted ? ListingEnd::Listed : ListingEnd::Changed;
}

}  // namespace tallix
