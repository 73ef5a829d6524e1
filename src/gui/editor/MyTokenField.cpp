#include "MyTokenField.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QStringListModel>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>

namespace {

constexpr int kFrame = 3;       // inner margin of the field's frame
constexpr int kSpacing = 3;     // between chips, and between rows
constexpr int kChipPadding = 6; // left of the text, and around the cross
constexpr int kMinEditorWidth = 60;

} // namespace

// One token: its text and a cross; a click on the cross removes the token. Chips take no focus:
// the keyboard reaches them through the field's editor (Left selects them, Backspace removes).
class TokenChip : public QAbstractButton
{
public:
    TokenChip(const QString &text, QWidget *parent) : QAbstractButton(parent)
    {
        setText(text);
        setFocusPolicy(Qt::NoFocus);
        setCursor(Qt::ArrowCursor);
        //: %1 is the tag; a screen reader reads it for the token's remove button
        setAccessibleName(qtTrId("tokenfield.remove").arg(text));
        setToolTip(accessibleName());
    }

    void setSelected(bool selected)
    {
        if (bSelected != selected) {
            bSelected = selected;
            update();
        }
    }
    bool isSelected() const { return bSelected; }

    QSize sizeHint() const override
    {
        const QFontMetrics metrics(font());
        const int height = metrics.height() + 2;
        // One pixel more than the advance: eliding measures with fractions and must not cut.
        return {kChipPadding + metrics.horizontalAdvance(text()) + 1 + kChipPadding + crossSize() +
                    kChipPadding,
                height};
    }

protected:
    int crossSize() const { return QFontMetrics(font()).height() / 2 + 1; }
    QRect crossRect() const
    {
        const int size = crossSize();
        return {width() - kChipPadding - size, (height() - size) / 2, size, size};
    }

    // Only the cross removes the token; the text is a place to click without consequence.
    bool hitButton(const QPoint &pos) const override
    {
        return crossRect().adjusted(-3, -3, 3, 3).contains(pos);
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPalette &pal = palette();
        const QColor fill = bSelected ? pal.color(QPalette::Highlight)
                                      : pal.color(QPalette::Highlight).lighter(175);
        const QColor ink =
            bSelected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::WindowText);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), height() / 2.0,
                            height() / 2.0);
        painter.fillPath(path, fill);
        painter.setPen(pal.color(QPalette::Highlight));
        painter.drawPath(path);
        painter.setPen(ink);
        const QRect textRect(kChipPadding, 0,
                             width() - 2 * kChipPadding - crossSize() - kChipPadding, height());
        painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                         QFontMetrics(font()).elidedText(text(), Qt::ElideRight, textRect.width()));
        QPen pen(ink, isDown() ? 2.0 : 1.3);
        painter.setPen(pen);
        const QRectF cross = QRectF(crossRect()).adjusted(1.5, 1.5, -1.5, -1.5);
        painter.drawLine(cross.topLeft(), cross.bottomRight());
        painter.drawLine(cross.topRight(), cross.bottomLeft());
    }

private:
    bool bSelected = false;
};

MyTokenField::MyTokenField(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setCursor(Qt::IBeamCursor);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);

    pEditor = new QLineEdit(this);
    pEditor->setFrame(false);
    pEditor->installEventFilter(this);
    setFocusProxy(pEditor);
    connect(pEditor, &QLineEdit::textEdited, this, &MyTokenField::onTextEdited);

    pCompletionModel = new QStringListModel(this);
    pCompleter = new QCompleter(pCompletionModel, this);
    pCompleter->setCaseSensitivity(Qt::CaseInsensitive);
    pCompleter->setCompletionMode(QCompleter::PopupCompletion);
    pCompleter->setFilterMode(Qt::MatchStartsWith);
    pEditor->setCompleter(pCompleter);
    // The line edit takes the chosen completion as its text first; it becomes a token once the
    // key or click that chose it has been handled, whichever way the completer passes it on.
    connect(
        pCompleter, qOverload<const QString &>(&QCompleter::activated), this,
        [this] { QTimer::singleShot(0, this, [this] { commitEditing(); }); }, Qt::QueuedConnection);
    updateAccessibility();
}

MyTokenField::~MyTokenField() = default;

void MyTokenField::setTokens(const QStringList &tokens)
{
    pTokens.clear();
    for (const QString &token : tokens) {
        const QString trimmed = token.trimmed();
        if (!trimmed.isEmpty() && !pTokens.contains(trimmed))
            pTokens.append(trimmed);
    }
    pAnnounced = pTokens;
    nSelected = -1;
    rebuildChips();
}

void MyTokenField::setCompletions(const QStringList &completions)
{
    pCompletions = completions;
    updateCompletionModel();
}

QString MyTokenField::pendingText() const
{
    return pEditor->text();
}

void MyTokenField::commitEditing()
{
    const QString text = pEditor->text();
    if (text.isEmpty())
        return;
    pEditor->clear();
    bool added = false;
    for (const QString &part : text.split(QLatin1Char(',')))
        added = addToken(part) || added;
    if (added)
        rebuildChips();
}

bool MyTokenField::takeEdit()
{
    commitEditing();
    if (pTokens == pAnnounced)
        return false;
    pAnnounced = pTokens;
    return true;
}

bool MyTokenField::addToken(const QString &text)
{
    const QString token = text.trimmed();
    if (token.isEmpty() || pTokens.contains(token))
        return false;
    pTokens.append(token);
    return true;
}

void MyTokenField::removeToken(int index)
{
    if (index < 0 || index >= pTokens.size())
        return;
    pTokens.removeAt(index);
    nSelected = -1;
    rebuildChips();
}

void MyTokenField::rebuildChips()
{
    qDeleteAll(pChips);
    pChips.clear();
    for (qsizetype i = 0; i < pTokens.size(); ++i) {
        auto *chip = new TokenChip(pTokens.at(i), this);
        chip->setSelected(i == nSelected);
        connect(chip, &QAbstractButton::clicked, this, [this, chip] {
            const int index = int(pChips.indexOf(chip));
            const bool editing = pEditor->hasFocus();
            // Deleting the chip inside its own signal would pull the floor from under it.
            QTimer::singleShot(0, this, [this, index, editing] {
                removeToken(index);
                if (!editing)
                    scheduleNotice();
            });
        });
        chip->show();
        pChips.append(chip);
    }
    updateCompletionModel();
    updateAccessibility();
    applyLayout();
    updateGeometry();
    update();
}

void MyTokenField::applyLayout()
{
    // Layouts of windows do not ask for the height a width needs: the field states it as its
    // minimum, so that wrapped tokens are never cut off.
    const int height = layoutFor(width(), true);
    if (minimumHeight() != height)
        setMinimumHeight(height);
}

void MyTokenField::updateCompletionModel()
{
    QStringList offered;
    offered.reserve(pCompletions.size());
    for (const QString &completion : pCompletions) {
        if (!pTokens.contains(completion))
            offered.append(completion);
    }
    pCompletionModel->setStringList(offered);
}

void MyTokenField::updateAccessibility()
{
    // The editor is what has the focus, so it carries the field's name: the field's own
    // accessible name, else the text of the label whose buddy the field is.
    QString name = accessibleName();
    if (name.isEmpty() && parentWidget()) {
        const auto labels = parentWidget()->findChildren<QLabel *>();
        for (const QLabel *label : labels) {
            if (label->buddy() == this) {
                name = label->text().remove(QLatin1Char('&'));
                break;
            }
        }
    }
    pEditor->setAccessibleName(name);
    pEditor->setAccessibleDescription(pTokens.join(QStringLiteral(", ")));
}

void MyTokenField::selectToken(int index)
{
    nSelected = index;
    for (qsizetype i = 0; i < pChips.size(); ++i)
        pChips.at(i)->setSelected(i == index);
    pEditor->setAccessibleDescription(index >= 0 ? pTokens.at(index)
                                                 : pTokens.join(QStringLiteral(", ")));
}

void MyTokenField::onTextEdited(const QString &text)
{
    if (nSelected >= 0)
        selectToken(-1);
    // A comma ends a token, typed or pasted; what follows the last comma stays as text.
    const qsizetype comma = text.lastIndexOf(QLatin1Char(','));
    if (comma < 0)
        return;
    const QString rest = text.mid(comma + 1);
    bool added = false;
    for (const QString &part : text.left(comma).split(QLatin1Char(',')))
        added = addToken(part) || added;
    pEditor->setText(rest.trimmed().isEmpty() ? QString() : rest);
    if (added)
        rebuildChips();
}

void MyTokenField::endEditing()
{
    commitEditing();
    selectToken(-1);
    scheduleNotice();
}

void MyTokenField::scheduleNotice()
{
    if (bNoticePending)
        return;
    bNoticePending = true;
    QTimer::singleShot(0, this, [this] {
        bNoticePending = false;
        if (pTokens == pAnnounced)
            return;
        pAnnounced = pTokens;
        emit tokensChanged();
    });
}

bool MyTokenField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != pEditor)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        update();
        break;
    case QEvent::FocusOut: {
        update();
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // The completion list opening is not the end of editing.
        if (reason != Qt::PopupFocusReason &&
            !(pCompleter->popup() && pCompleter->popup()->isVisible()))
            endEditing();
        break;
    }
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool atStart = pEditor->cursorPosition() == 0 && !pEditor->hasSelectedText();
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!pEditor->text().trimmed().isEmpty()) {
                // The token is ended, and announced as the end of editing announces it.
                commitEditing();
                scheduleNotice();
                return true;
            }
            // Nothing typed: editing ends, and the key goes on (to the dialog's default button).
            pEditor->clear();
            selectToken(-1);
            scheduleNotice();
            return false;
        case Qt::Key_Backspace:
            if (nSelected >= 0) {
                removeToken(nSelected);
                return true;
            }
            if (atStart && !pTokens.isEmpty()) {
                removeToken(int(pTokens.size()) - 1);
                return true;
            }
            break;
        case Qt::Key_Delete:
            if (nSelected >= 0) {
                removeToken(nSelected);
                return true;
            }
            break;
        case Qt::Key_Left:
            if (key->modifiers() == Qt::NoModifier && atStart && !pTokens.isEmpty()) {
                selectToken(nSelected < 0 ? int(pTokens.size()) - 1 : qMax(0, nSelected - 1));
                return true;
            }
            break;
        case Qt::Key_Right:
            if (key->modifiers() == Qt::NoModifier && nSelected >= 0) {
                selectToken(nSelected + 1 < pTokens.size() ? nSelected + 1 : -1);
                return true;
            }
            break;
        case Qt::Key_Escape:
            // Escape with a token selected only deselects it; otherwise it reaches the dialog.
            if (nSelected >= 0) {
                selectToken(-1);
                return true;
            }
            break;
        default:
            if (nSelected >= 0 && !key->text().isEmpty())
                selectToken(-1);
            break;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool MyTokenField::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::ParentChange:
        updateAccessibility();
        break;
    case QEvent::FontChange:
    case QEvent::StyleChange:
        rebuildChips();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

int MyTokenField::layoutFor(int width, bool apply) const
{
    const int rowHeight = qMax(pEditor->sizeHint().height(),
                               pChips.isEmpty() ? 0 : pChips.first()->sizeHint().height());
    const int right = width - kFrame;
    int x = kFrame;
    int y = kFrame;
    for (TokenChip *chip : pChips) {
        const int chipWidth = qMin(chip->sizeHint().width(), right - kFrame);
        if (x > kFrame && x + chipWidth > right) {
            x = kFrame;
            y += rowHeight + kSpacing;
        }
        if (apply) {
            const int chipHeight = chip->sizeHint().height();
            chip->setGeometry(x, y + (rowHeight - chipHeight) / 2, chipWidth, chipHeight);
        }
        x += chipWidth + kSpacing;
    }
    if (x > kFrame && right - x < kMinEditorWidth) {
        x = kFrame;
        y += rowHeight + kSpacing;
    }
    if (apply)
        pEditor->setGeometry(x, y, qMax(right - x, 1), rowHeight);
    return y + rowHeight + kFrame;
}

int MyTokenField::heightForWidth(int width) const
{
    return layoutFor(width, false);
}

QSize MyTokenField::sizeHint() const
{
    const int width = 300;
    return {width, heightForWidth(width)};
}

QSize MyTokenField::minimumSizeHint() const
{
    return {kMinEditorWidth + 2 * kFrame, pEditor->sizeHint().height() + 2 * kFrame};
}

void MyTokenField::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    applyLayout();
}

void MyTokenField::mousePressEvent(QMouseEvent *event)
{
    // A click on the field outside the tokens goes to the editor.
    pEditor->setFocus(Qt::MouseFocusReason);
    pEditor->setCursorPosition(int(pEditor->text().size()));
    selectToken(-1);
    event->accept();
}

void MyTokenField::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionFrame option;
    option.initFrom(this);
    option.rect = rect();
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (pEditor->hasFocus())
        option.state |= QStyle::State_HasFocus;
    option.features = QStyleOptionFrame::None;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
}
