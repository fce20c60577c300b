#include "engine/counting/set_count.h"

#include <memory>

#include "engine/counting/once_only_total.h"

namespace tallix {

namespace {

// Names a project file is read for before its members are counted, so that a project that
// cannot be read to its end hands on no member, as on its own.
constexpr std::size_t kNamesReadAhead = 1 << 16;

// Reads a project's members into the counter, only once the file is known to read whole.
// A project of more members than are read ahead is read once to see that it can be, then
// again as its members are counted.
ProjectRead ReadIntoCounter(const SetProject& project, OrderedCounter& counter) {
    const auto place =
        std::make_shared<const CountPlace>(CountPlace{ProjectFolder(project.path), project.kind});
    std::vector<std::string> names;
    bool tooMany = false;
    ProjectRead read = VisitProjectMembers(project.path, project.kind, [&](std::string name) {
        tooMany = names.size() == kNamesReadAhead;
        if (!tooMany) {
            names.push_back(std::move(name));
        }
        return !tooMany;
    });
    if (tooMany) {
        read = VisitProjectMembers(project.path, project.kind, [](std::string) { return true; });
        if (read.problem.error == FileError::None) {
            read = VisitProjectMembers(project.path, project.kind, [&](std::string name) {
                counter.Add(place, std::move(name));
                return true;
            });
        }
    } else if (read.problem.error == FileError::None) {
        for (std::string& name : names) {
            counter.Add(place, std::move(name));
        }
    }
    return read;
}

}  // namespace

SetTotal CountSet(const std::vector<SetProject>& projects, CountOptions options, SetCountSink& sink,
                  unsigned workers) {
    OnceOnlyTotal total(options);
    SourceKind kind = SourceKind::Vb6;  // of the project whose members are handed on
    bool going = true;
    // Once the sink stops, what was added before it knew is dropped as it comes.
    OrderedCounter counter(
        options,
        [&](const MemberCount& member) {
            if (going) {
                total.Add(member, kind);
                sink.Member(member);
            }
        },
        workers);
    for (const SetProject& project : projects) {
        counter.AddMark([&] {
            going = going && sink.BeginProject(project);
            kind = project.kind;
        });
        if (!going) {
            break;
        }
        ProjectRead read;
        if (FileExists(project.path)) {
            read = ReadIntoCounter(project, counter);
        } else {
            read.problem = {FileError::Missing, ""};
        }
        counter.AddMark([&, read = std::move(read)] {
            if (going) {
                sink.EndProject(project, read);
            }
        });
    }
    counter.Finish();
    return {total.Lines(), total.Tally()};
}

std::vector<MemberCount> CountMembers(const std::string& folder,
                                      const std::vector<std::string>& names, SourceKind kind,
                                      CountOptions options, unsigned workers) {
    std::vector<MemberCount> members;
    members.reserve(names.size());
    OrderedCounter counter(
        options, [&](const MemberCount& member) { members.push_back(member); }, workers);
    const auto place = std::make_shared<const CountPlace>(CountPlace{folder, kind});
    for (const std::string& name : names) {
        counter.Add(place, name);
    }
    counter.Finish();
    return members;
}

}  // namespace tallix
