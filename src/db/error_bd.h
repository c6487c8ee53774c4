#pragma once
#include <QString>
#include <exception>
#include <string>

namespace db {

// A failure reported by the database engine (or the driver), carrying its own text so that
// the window can show the user exactly what the server said.
class ErrorBD : public std::exception {
public:
    explicit ErrorBD(QString mensaje) : mensaje_(std::move(mensaje)), c_(mensaje_.toStdString()) {}
    const QString& mensaje() const { return mensaje_; }
    const char* what() const noexcept override { return c_.c_str(); }

private:
    QString mensaje_;
    std::string c_;
};

}  // namespace db
