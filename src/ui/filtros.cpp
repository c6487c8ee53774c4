#include "ui/filtros.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>

namespace {

enum class Regla { Texto, Numerico };

bool EsControl(QChar c) { return c.unicode() < 32 || c.unicode() == 127; }

// Sits in front of one box and applies its rule to every key before the box sees it.
class FiltroTeclas : public QObject {
  public:
    FiltroTeclas(Regla regla, QWidget* caja) : QObject(caja), regla_(regla) {}

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() != QEvent::KeyPress) return false;
        auto* caja = static_cast<QWidget*>(objeto);
        auto* tecla = static_cast<QKeyEvent*>(evento);
        const bool conModificador =
            tecla->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);

        if ((tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) && !conModificador) {
            // Swallowed here, so no new line, no beep and no default button of the dialog.
            PasarAlSiguienteControl(caja);
            return true;
        }
        if (tecla->matches(QKeySequence::Paste)) {
            pegar(caja);
            return true;
        }
        if (conModificador || tecla->text().isEmpty()) return false;

        QString resultado;
        for (const QChar c : tecla->text()) {
            // Tab, Escape and the like are keys for the window, not characters for the box.
            const int codigo = EsControl(c) && c.unicode() != CodigoRetroceso
                                   ? c.unicode()
                                   : (regla_ == Regla::Texto ? FiltroTexto(c.unicode())
                                                             : FiltroNumerico(c.unicode()));
            if (codigo != 0) resultado.append(QChar(codigo));
        }
        if (resultado == tecla->text()) return false;
        if (resultado.isEmpty()) return true;

        // A key event's text cannot be changed, so the box gets the upper-case twin instead.
        QKeyEvent gemela(QEvent::KeyPress, tecla->key(), tecla->modifiers(),
                         tecla->nativeScanCode(), tecla->nativeVirtualKey(),
                         tecla->nativeModifiers(), resultado, tecla->isAutoRepeat(),
                         tecla->count());
        QCoreApplication::sendEvent(caja, &gemela);
        tecla->setAccepted(gemela.isAccepted());
        return true;
    }

  private:
    void pegar(QWidget* caja) const {
        const QString pegado = QApplication::clipboard()->text();
        const QString limpio = regla_ == Regla::Texto ? TextoDeRegla(pegado) : SoloDigitos(pegado);
        // Cleaned before it is inserted, so the box's maximum length counts only what stays.
        if (auto* linea = qobject_cast<QLineEdit*>(caja)) {
            if (!linea->isReadOnly()) linea->insert(limpio);
        } else if (auto* texto = qobject_cast<QPlainTextEdit*>(caja)) {
            if (!texto->isReadOnly()) texto->insertPlainText(limpio);
        }
    }

    Regla regla_;
};

// A multi-line box has no validator: whatever arrives otherwise (context menu, drop, input
// method) follows the rule right after, keeping the user's cursor where it was. Its blocks
// are lines the rule joins with blanks.
void ReglaAlCambiar(QPlainTextEdit* caja) {
    QTextDocument* documento = caja->document();
    const QString antes = documento->toRawText().replace(QChar::ParagraphSeparator, u'\n');
    const QString despues = TextoDeRegla(antes);
    if (antes == despues) return;
    const qsizetype comun = qMin(antes.size(), despues.size());
    qsizetype inicio = 0, finAntes = antes.size(), finDespues = despues.size();
    while (inicio < comun && antes[inicio] == despues[inicio]) ++inicio;
    while (finAntes > inicio && finDespues > inicio &&
           antes[finAntes - 1] == despues[finDespues - 1]) {
        --finAntes;
        --finDespues;
    }

    const QTextCursor delUsuario = caja->textCursor();
    const auto nueva = [&](int p) {
        return p <= inicio ? p : p >= finAntes ? int(p + finDespues - finAntes) : int(finDespues);
    };
    const int ancla = nueva(delUsuario.anchor()), posicion = nueva(delUsuario.position());
    QTextCursor cambio(documento);
    cambio.setPosition(int(inicio));
    cambio.setPosition(int(finAntes), QTextCursor::KeepAnchor);
    cambio.insertText(despues.mid(inicio, finDespues - inicio));
    QTextCursor restaurado(documento);
    restaurado.setPosition(ancla);
    restaurado.setPosition(posicion, QTextCursor::KeepAnchor);
    caja->setTextCursor(restaurado);
}

bool EsEnter(const QKeyEvent* tecla) {
    return (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) &&
           !(tecla->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

// The keys of one drop-down list: closed (the box), open (its own list) and, for a box that
// completes as the clerk types, the list of names it opens.
class ReglaLista : public QObject {
  public:
    explicit ReglaLista(QComboBox* lista) : QObject(lista), lista_(lista) {}

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        // Only keys and the list opening (never what a list going away sends).
        if (evento->type() != QEvent::KeyPress && evento->type() != QEvent::Show) return false;
        QAbstractItemView* vista = lista_->view();
        QCompleter* completador = lista_->completer();
        if (objeto == vista && evento->type() == QEvent::Show) {
            // What Enter would take is what the clerk sees highlighted.
            if (!vista->currentIndex().isValid() && lista_->count() > 0)
                vista->setCurrentIndex(
                    lista_->model()->index(0, lista_->modelColumn(), lista_->rootModelIndex()));
            return false;
        }
        if (evento->type() != QEvent::KeyPress) return false;
        auto* tecla = static_cast<QKeyEvent*>(evento);
        const bool tab = tecla->key() == Qt::Key_Tab || tecla->key() == Qt::Key_Backtab;
        const bool adelante =
            tecla->key() == Qt::Key_Tab && !(tecla->modifiers() & Qt::ShiftModifier);
        if (objeto == vista) {
            // The open list: Enter and Tab take the highlighted entry and leave the list.
            if (tecla->text() == QLatin1String(" ")) {
                vista->keyboardSearch(tecla->text());
                return true;
            }
            if (!EsEnter(tecla) && !tab) return false;
            if (vista->currentIndex().isValid())
                lista_->setCurrentIndex(vista->currentIndex().row());
            lista_->hidePopup();
            PasarAlSiguienteControl(lista_, EsEnter(tecla) || adelante);
            return true;
        }
        if (completador && objeto == completador->popup()) {
            // The names it opened: Enter keeps the completed name and leaves the box.
            if (!EsEnter(tecla)) return false;
            completador->popup()->hide();
            PasarAlSiguienteControl(lista_);
            return true;
        }
        if (EsEnter(tecla)) {
            PasarAlSiguienteControl(lista_);
            return true;
        }
        // A blank is part of the name looked for in the list, not a key that opens it.
        if (!lista_->isEditable() && tecla->key() == Qt::Key_Space &&
            !(tecla->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            QKeyEvent letra(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, tecla->text());
            QCoreApplication::sendEvent(lista_, &letra);
            return true;
        }
        return false;
    }

  private:
    QComboBox* lista_;
};

// The list of names a completing box opens highlights the name it completed, so Down goes on
// from the one the clerk sees. Selected quietly: a highlighted name is not a chosen one.
void ResaltarActual(QAbstractItemView* nombres) {
    QItemSelectionModel* seleccion = nombres->selectionModel();
    QObject::connect(seleccion, &QItemSelectionModel::currentChanged, nombres,
                     [nombres, seleccion](const QModelIndex& actual) {
                         if (!actual.isValid() || seleccion->isSelected(actual)) return;
                         const QSignalBlocker callado(seleccion);
                         seleccion->select(actual, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
                         nombres->viewport()->update();
                     });
}

}  // namespace

void PrepararListas(QWidget* ventana) {
    if (!ventana) return;
    for (QComboBox* lista : ventana->findChildren<QComboBox*>()) {
        // Lists inside a grid are the grid's editors, with rules of their own.
        bool enRejilla = false;
        for (QWidget* w = lista->parentWidget(); w && !enRejilla; w = w->parentWidget())
            enRejilla = qobject_cast<QAbstractItemView*>(w) != nullptr;
        if (enRejilla || lista->property("reglaLista").toBool()) continue;
        lista->setProperty("reglaLista", true);
        auto* regla = new ReglaLista(lista);
        lista->installEventFilter(regla);
        lista->view()->installEventFilter(regla);
        if (QCompleter* completador = lista->completer()) {
            completador->popup()->installEventFilter(regla);
            ResaltarActual(completador->popup());
        }
    }
}

int FiltroTexto(int codigo) {
    if (codigo == CodigoEnter) return 0;
    if (codigo <= 0 || codigo > 0xFFFF) return codigo;
    return QChar(static_cast<char16_t>(codigo)).toUpper().unicode();
}

int FiltroNumerico(int codigo) {
    if (codigo == CodigoRetroceso) return codigo;
    if (codigo >= '0' && codigo <= '9') return codigo;
    return 0;
}

QString TextoSinAcentos(const QString& texto) {
    QString resultado;
    resultado.reserve(texto.size());
    for (const QChar c : texto.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing) resultado.append(c);
    return resultado;
}

QString TextoSinControles(const QString& texto) {
    QString resultado;
    resultado.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (c == u'\r' && i + 1 < texto.size() && texto.at(i + 1) == u'\n') continue;  // one break
        if (c == u'\n' || c == u'\r' || c == u'\t') {
            resultado.append(u' ');
        } else if (c.isHighSurrogate() && i + 1 < texto.size() &&
                   texto.at(i + 1).isLowSurrogate()) {
            resultado.append(c).append(texto.at(++i));
        } else if (!c.isSurrogate() && c.category() != QChar::Other_Control &&
                   c != QChar::LineSeparator && c != QChar::ParagraphSeparator) {
            resultado.append(c);
        }
    }
    return resultado;
}

QString TextoDeRegla(const QString& texto) { return TextoEnMayusculas(TextoSinControles(texto)); }

QString TextoEnMayusculas(const QString& texto) {
    // Character by character, so the text keeps its length (ß stays ß, as a typed ß would).
    QString resultado = texto;
    for (QChar& c : resultado) c = c.toUpper();
    return resultado;
}

QString SoloDigitos(const QString& texto) {
    QString resultado;
    resultado.reserve(texto.size());
    for (const QChar c : texto)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) resultado.append(c);
    return resultado;
}

QValidator::State ValidadorMayusculas::validate(QString& texto, int& posicion) const {
    posicion = int(TextoSinControles(texto.left(posicion)).size());
    texto = TextoDeRegla(texto);
    return Acceptable;
}

QValidator::State ValidadorDigitos::validate(QString& texto, int& posicion) const {
    int antesDelCursor = 0;
    for (int i = 0; i < posicion && i < texto.size(); ++i)
        if (texto[i] >= QLatin1Char('0') && texto[i] <= QLatin1Char('9')) ++antesDelCursor;
    texto = SoloDigitos(texto);
    posicion = antesDelCursor;
    return Acceptable;
}

void PasarAlSiguienteControl(QWidget* desde, bool adelante) {
    if (!desde) return;
    QWidget* ventana = desde->window();
    // Tab starts from the window's focus widget; make sure that is the box the key came to.
    if (ventana->focusWidget() != desde && desde->focusPolicy() != Qt::NoFocus)
        desde->setFocus(Qt::OtherFocusReason);
    // The window handles a Tab itself (a multi-line box would keep it as a character).
    QKeyEvent tab(QEvent::KeyPress, adelante ? Qt::Key_Tab : Qt::Key_Backtab,
                  adelante ? Qt::NoModifier : Qt::ShiftModifier, QStringLiteral("\t"));
    QCoreApplication::sendEvent(ventana, &tab);
}

void InstalarFiltroTexto(QWidget* caja) {
    if (!caja) return;
    caja->installEventFilter(new FiltroTeclas(Regla::Texto, caja));
    if (auto* linea = qobject_cast<QLineEdit*>(caja)) {
        linea->setValidator(new ValidadorMayusculas(linea));
        linea->setText(TextoDeRegla(linea->text()));  // what was there follows the rule too
    } else if (auto* texto = qobject_cast<QPlainTextEdit*>(caja)) {
        QObject::connect(texto, &QPlainTextEdit::textChanged, texto,
                         [texto] { ReglaAlCambiar(texto); });
        ReglaAlCambiar(texto);
    }
}

void InstalarFiltroNumerico(QLineEdit* caja) {
    if (!caja) return;
    caja->installEventFilter(new FiltroTeclas(Regla::Numerico, caja));
    caja->setValidator(new ValidadorDigitos(caja));
    caja->setText(SoloDigitos(caja->text()));
}
