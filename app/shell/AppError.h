#pragma once
// The error a handler catches and hands to ShowError: a numeric code and a description.
#include <QString>
#include <stdexcept>

namespace kalvo {

// Generic failure, as the database layer reports an unreachable data source.
constexpr qint32 kErrGenericFailure = qint32(0x80004005u);

class AppError : public std::runtime_error {
public:
    AppError(qint32 code, const QString &description)
        : std::runtime_error(description.toStdString()), code(code), description(description) {}
    qint32 code;
    QString description;
    QString helpFile;
    int helpContext = 0;
};

} // namespace kalvo
