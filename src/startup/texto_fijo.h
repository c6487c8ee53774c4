#pragma once
#include <QString>

// A fixed-length text field: whatever is assigned is blank-padded on the right or cut, so the
// staff and branch keys always travel with exactly their stored width.
template <int N>
class TextoFijo {
  public:
    TextoFijo() : valor_(N, QLatin1Char(' ')) {}
    TextoFijo& operator=(const QString& v) {
        valor_ = v.left(N).leftJustified(N, QLatin1Char(' '));
        return *this;
    }
    const QString& texto() const { return valor_; }
    operator const QString&() const { return valor_; }

  private:
    QString valor_;
};
