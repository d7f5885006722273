#pragma once

#include <QByteArray>

#include "dispatch.h"

// ADODB.Stream: bytes in memory, read and written as a binary stream (Byte arrays, VarType
// 8209) or as text in a character set (utf-8 and Unicode with the byte mark ADO writes,
// windows-1252, us-ascii, iso-8859-1), loaded from and saved to files.
namespace winenv {

class AdoStream : public vbs::Object {
public:
    static inline const QString ProgId = QStringLiteral("ADODB.Stream");

    QString typeName() const override { return QStringLiteral("Stream"); }
    int memberId(const QString &name) override;
    bool invoke(vbs::Context &cx, int id, vbs::Invoke kind, vbs::Args args, vbs::Value &result) override;

private:
    QByteArray encode(const QString &text) const;
    QString decode(const QByteArray &bytes) const;
    QByteArray mark() const;
    void writeBytes(const QByteArray &bytes);

    bool m_open = false;
    int32_t m_type = 2;   // adTypeText
    int m_charset = 0;    // Unicode
    int32_t m_separator = -1; // adCRLF
    int32_t m_mode = 0;
    QByteArray m_data;
    qsizetype m_position = 0;
};

} // namespace winenv
