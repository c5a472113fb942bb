#pragma once

#include <QString>
#include <stdexcept>

// The input/output error of list files: a numeric code and its text.
class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(int code);
    // From the C library's error number of the failed file operation.
    static EInOutError FromErrno(int errorNumber);

    int ErrorCode() const { return code_; }

private:
    int code_;
};

// The file stream error of plain lists; its text names the file.
class EFileStreamError : public std::runtime_error {
public:
    static EFileStreamError CannotOpen(const QString &fileName);
    static EFileStreamError CannotCreate(const QString &fileName);

private:
    explicit EFileStreamError(const QString &text);
};
