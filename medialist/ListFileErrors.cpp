#include "medialist/ListFileErrors.h"

#include "medialist/InOutErrorCodes.h"

#include <cerrno>
#include <string>

namespace {

constexpr int UnlistedErrnoBase = 1000;

bool IsListedCode(int code)
{
    using namespace InOutCode;
    for (int listed : {FileNotFound, InvalidFileName, TooManyOpenFiles, AccessDenied, NotEnoughMemory, ReadBeyondEnd,
                       DiskFull, InvalidNumericInput})
        if (code == listed)
            return true;
    return false;
}

std::string TextOf(int code)
{
    switch (code) {
    case InOutCode::FileNotFound:
        return "File not found";
    case InOutCode::InvalidFileName:
        return "Invalid filename";
    case InOutCode::TooManyOpenFiles:
        return "Too many open files";
    case InOutCode::AccessDenied:
        return "File access denied";
    case InOutCode::NotEnoughMemory:
        return "Not enough memory";
    case InOutCode::ReadBeyondEnd:
        return "Read beyond end of file";
    case InOutCode::DiskFull:
        return "Disk full";
    case InOutCode::InvalidNumericInput:
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
        return EInOutError(InOutCode::FileNotFound);
    case ENOTDIR:
        return EInOutError(InOutCode::InvalidFileName);
    case EMFILE:
    case ENFILE:
        return EInOutError(InOutCode::TooManyOpenFiles);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return EInOutError(InOutCode::AccessDenied);
    case ENOSPC:
    case EDQUOT:
        return EInOutError(InOutCode::DiskFull);
    case ENOMEM:
        return EInOutError(InOutCode::NotEnoughMemory);
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
