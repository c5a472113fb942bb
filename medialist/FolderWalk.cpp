#include "medialist/FolderWalk.h"

#include "medialist/ListFileErrors.h"

#include <QByteArray>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Attribute bits as the platform the search was made for reports them. Read-only (0x01) is
// not probed: with or without it a folder is entered and a file added alike.
constexpr uint32_t faHidden = 0x02;
constexpr uint32_t faSysFile = 0x04;
constexpr uint32_t faDirectory = 0x10;
constexpr uint32_t faArchive = 0x20;
constexpr uint32_t faReparsePoint = 0x400;

struct TFolderEntry {
    QByteArray Name;
    uint32_t Attributes;
};

uint32_t KindAttributes(unsigned char type)
{
    switch (type) {
    case DT_DIR:
        return faDirectory;
    case DT_REG:
        return faArchive;
    case DT_LNK:
        return faReparsePoint; // never entered and never added, so no link loop can trap the walk
    default:
        return faSysFile;
    }
}

unsigned char TypeFromMode(mode_t mode)
{
    if (S_ISDIR(mode))
        return DT_DIR;
    if (S_ISREG(mode))
        return DT_REG;
    return S_ISLNK(mode) ? DT_LNK : DT_UNKNOWN;
}

uint32_t AttributesOf(int folder, const dirent &entry)
{
    unsigned char type = entry.d_type;
    if (type == DT_UNKNOWN) {
        struct stat info { };
        if (::fstatat(folder, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0)
            type = TypeFromMode(info.st_mode);
    }
    return KindAttributes(type) | (entry.d_name[0] == '.' ? faHidden : 0);
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Ignoring case first, then by bytes.
bool SortsBefore(const TFolderEntry &a, const TFolderEntry &b)
{
    const auto lower = [](char x, char y) { return AsciiLower(x) < AsciiLower(y); };
    if (std::lexicographical_compare(a.Name.begin(), a.Name.end(), b.Name.begin(), b.Name.end(), lower))
        return true;
    if (std::lexicographical_compare(b.Name.begin(), b.Name.end(), a.Name.begin(), a.Name.end(), lower))
        return false;
    return a.Name < b.Name;
}

// The folder's entries in sorted order. A folder that may not be listed reads as empty;
// any other failure ends the whole walk.
std::vector<TFolderEntry> ReadFolder(const QByteArray &path)
{
    std::vector<TFolderEntry> entries;
    DIR *folder = ::opendir(path.constData());
    if (!folder) {
        if (errno == EACCES)
            return entries;
        throw EInOutError::FromErrno(errno);
    }
    while (const dirent *entry = ::readdir(folder)) {
        if (qstrcmp(entry->d_name, ".") == 0 || qstrcmp(entry->d_name, "..") == 0)
            continue;
        entries.push_back({QByteArray(entry->d_name), AttributesOf(::dirfd(folder), *entry)});
    }
    ::closedir(folder);
    std::sort(entries.begin(), entries.end(), SortsBefore);
    return entries;
}

// A folder being walked: its sorted entries and how far the walk has come through them.
struct TFolderVisit {
    QByteArray Path;
    std::vector<TFolderEntry> Entries;
    size_t Next = 0;
};

// Every run of separators shrinks to one.
QByteArray CollapseSeparators(const QByteArray &path)
{
    QByteArray collapsed;
    collapsed.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i)
        if (i == 0 || path[i] != '/' || path[i - 1] != '/')
            collapsed.append(path[i]);
    return collapsed;
}

// A name pattern as the walk tests it: "*" and a literal suffix ("*.mp3", the usual case) by
// comparing the end of the name, letter case ignored; any other pattern through fnmatch.
class TNamePattern {
public:
    explicit TNamePattern(const QByteArray &pattern) : pattern_(pattern)
    {
        const QByteArray rest = pattern.mid(1);
        if (pattern.startsWith('*') && !rest.contains('*') && !rest.contains('?') && !rest.contains('[')
            && !rest.contains('\\'))
            suffix_ = rest;
    }
    bool Matches(const QByteArray &name) const
    {
        if (pattern_.isEmpty())
            return false;
        if (suffix_)
            return name.size() >= suffix_->size()
                && qstrnicmp(name.constData() + name.size() - suffix_->size(), suffix_->constData(),
                             size_t(suffix_->size()))
                == 0;
        return ::fnmatch(pattern_.constData(), name.constData(), FNM_CASEFOLD) == 0;
    }

private:
    QByteArray pattern_;
    std::optional<QByteArray> suffix_;
};

bool MatchesAny(const std::vector<TNamePattern> &patterns, const QByteArray &name)
{
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const TNamePattern &pattern) { return pattern.Matches(name); });
}

void AddFoundFiles(const QByteArray &folder, const std::vector<TFolderEntry> &entries,
                   const std::vector<TNamePattern> &patterns, const std::function<void(const QByteArray &)> &add)
{
    for (const TFolderEntry &entry : entries)
        if (entry.Attributes == faArchive && MatchesAny(patterns, entry.Name))
            add(CollapseSeparators(folder + "//" + entry.Name));
}

} // namespace

void WalkFolder(const QByteArray &root, const QList<QByteArray> &namePatterns,
                const std::function<void(const QByteArray &)> &found)
{
    const std::vector<TNamePattern> patterns(namePatterns.begin(), namePatterns.end());
    std::vector<TFolderVisit> visits;
    visits.push_back({root, ReadFolder(root)});
    while (!visits.empty()) {
        TFolderVisit &visit = visits.back();
        if (visit.Next < visit.Entries.size()) {
            const TFolderEntry &entry = visit.Entries[visit.Next++];
            if (entry.Attributes == faDirectory) {
                const QByteArray sub = CollapseSeparators(visit.Path + '/' + entry.Name);
                visits.push_back({sub, ReadFolder(sub)});
            }
            continue;
        }
        AddFoundFiles(visit.Path, visit.Entries, patterns, found);
        visits.pop_back();
    }
}
