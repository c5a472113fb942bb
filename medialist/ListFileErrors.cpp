#include "medialist/ListFileErrors.h"

#include <cerrno>
#include <string>

namespace {

constexpr int UnlistedErrnoBase = 1000;

bool IsListedCode(int code)
{
    return (code >= 2 && code <= 5) || code == 8 || code == 100 || code == 101 || code == 106;
}

std::string TextOf(int code)
{
    switch (code) {
    case 2:
        return "File not found";
    case 3:
        return "Invalid filename";
    case 4:
        return "Too many open files";
    case 5:
        return "File access denied";
    case 8:
        return "Not enough memory";
    case 100:
        return "Read beyond end of file";
    case 101:
        return "Disk full";
    case 106:
        return "Invalid numeric input";
    default:
        return "I/O error " + std::to_string(code);
    }
}

} // namespace

EInOutError::EInOutError(int code)
    : std::runtime_error(TextOf(code)), code_(code)
{
}

EInOutError EInOutError::FromErrno(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return EInOutError(2);
    case ENOTDIR:
        return EInOutError(3);
    case EMFILE:
    case ENFILE:
        return EInOutError(4);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return EInOutError(5);
    case ENOSPC:
    case EDQUOT:
        return EInOutError(101);
    case ENOMEM:
        return EInOutError(8);
    default:
        // An error number that happens to equal a listed code would read as that code's
        // meaning (EIO as "File access denied"): move it out of their way.
        return EInOutError(IsListedCode(errorNumber) ? UnlistedErrnoBase + errorNumber : errorNumber);
    }
}

EFileStreamError::EFileStreamError(const QString &text)
    : std::runtime_error(text.toStdString())
{
}

EFileStreamError EFileStreamError::CannotOpen(const QString &fileName)
{
    return EFileStreamError(QStringLiteral("Cannot open file ") + fileName);
}

EFileStreamError EFileStreamError::CannotCreate(const QString &fileName)
{
    return EFileStreamError(QStringLiteral("Cannot create file ") + fileName);
}
