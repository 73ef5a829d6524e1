#include "TagsField.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QTimer>

#if __has_include("MyTokenField.h")
#include "MyTokenField.h"
#define TENSILO_HAVE_TOKEN_FIELD 1
#endif

TagsField::TagsField(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
#ifdef TENSILO_HAVE_TOKEN_FIELD
    auto *field = new MyTokenField(this);
    connect(field, &MyTokenField::tokensChanged, this, &TagsField::tokensChanged);
    pEditor = field;
#else
    auto *field = new QLineEdit(this);
    field->setPlaceholderText(qtTrId("filters.row.tags_placeholder"));
    connect(field, &QLineEdit::editingFinished, this, [this, field] {
        if (!field->isModified())
            return;
        field->setModified(false);
        QTimer::singleShot(0, this, &TagsField::tokensChanged);
    });
    pEditor = field;
#endif
    setFocusProxy(pEditor);
    layout->addWidget(pEditor);
}

TagsField::~TagsField() = default;

QStringList TagsField::tokens() const
{
#ifdef TENSILO_HAVE_TOKEN_FIELD
    return static_cast<MyTokenField *>(pEditor)->tokens();
#else
    const QString text = static_cast<QLineEdit *>(pEditor)->text();
    if (text == strShownText)
        return pShownTokens;
    QStringList tokens;
    for (const QString &part : text.split(QLatin1Char(','))) {
        const QString token = part.trimmed();
        if (!token.isEmpty())
            tokens.append(token);
    }
    return tokens;
#endif
}

void TagsField::setTokens(const QStringList &tokens)
{
#ifdef TENSILO_HAVE_TOKEN_FIELD
    static_cast<MyTokenField *>(pEditor)->setTokens(tokens);
#else
    pShownTokens = tokens;
    strShownText = tokens.join(QLatin1String(", "));
    static_cast<QLineEdit *>(pEditor)->setText(strShownText);
#endif
}

void TagsField::setCompletions(const QStringList &completions)
{
#ifdef TENSILO_HAVE_TOKEN_FIELD
    static_cast<MyTokenField *>(pEditor)->setCompletions(completions);
#else
    // The plain field offers no completion (a completer would replace the whole list).
    Q_UNUSED(completions);
#endif
}
