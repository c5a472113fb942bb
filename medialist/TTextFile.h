#pragma once

#include <QByteArray>
#include <QString>

// A text file handled line by line, the way list files are. Reading takes the whole file in
// at once: a line ends at CR, one LF right after that CR belongs to the line end, any other
// LF is an ordinary character, and the byte 0x1A ends the file. The lines read share the
// file's buffer instead of copying it, so a long list costs its file and little more.
// Writing collects lines, each ended by CR LF, and replaces the file safely on Close.
class TTextFile {
public:
    // Raises EInOutError when the file cannot be read.
    static TTextFile OpenForReading(const QString &path);
    static TTextFile FromBytes(const QByteArray &bytes);
    static TTextFile ForWriting(const QString &path);

    // True when no byte is left or the next one is 0x1A.
    bool Eof() const;
    // The next line without its end; the empty string at the end of the file.
    QByteArray ReadLine();
    // A decimal integer after blanks and line ends; 0 at the end of the file.
    // Raises EInOutError 106 when the text there is no integer.
    int ReadInteger();
    // Skips the rest of the current line.
    void SkipLine();

    void WriteLine(const QByteArray &line);
    // Writes what was collected; raises EInOutError when that fails.
    void Close();
    // What was collected for writing, or the buffer read (where each CR that ended a line
    // read so far is a NUL).
    const QByteArray &Bytes() const { return bytes_; }

private:
    QByteArray Line(qsizetype start, qsizetype end);

    QString path_;
    QByteArray bytes_;
    qsizetype position_ = 0;
};
