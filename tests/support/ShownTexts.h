#pragma once
// The texts a window shows, gathered from its widgets, to tell which language it speaks.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QStringList>
#include <QTabWidget>
#include <QTextEdit>
#include <QWidget>
#include <algorithm>

namespace saroko::test {

// Hiragana, katakana (the half-width forms too), CJK ideographs and punctuation, full-width
// forms.
inline bool IsJapanese(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x4DBF) ||
           (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) ||
           (u >= 0xFF00 && u <= 0xFFEF);
}
inline bool HasJapanese(const QString& s) {
    return std::any_of(s.begin(), s.end(), IsJapanese);
}

inline void AddModelTexts(const QAbstractItemModel* model, QStringList& texts) {
    if (!model)
        return;
    for (int c = 0; c < model->columnCount(); ++c)
        texts << model->headerData(c, Qt::Horizontal).toString();
    for (int r = 0; r < model->rowCount(); ++r) {
        texts << model->headerData(r, Qt::Vertical).toString();
        for (int c = 0; c < model->columnCount(); ++c) {
            texts << model->index(r, c).data(Qt::DisplayRole).toString();
            texts << model->index(r, c).data(Qt::ToolTipRole).toString();
        }
    }
}

// Title, labels, buttons, group titles, combo and list items, table headers and cells, tab
// titles, edit contents and placeholders, spin box affixes, menus and tool tips of `root` and
// every widget in it.
inline QStringList ShownTexts(const QWidget& root) {
    QStringList texts{root.windowTitle()};
    QList<const QWidget*> widgets{&root};
    for (const QWidget* w : root.findChildren<QWidget*>())
        widgets << w;
    for (const QWidget* w : widgets) {
        texts << w->toolTip() << w->whatsThis() << w->statusTip();
        if (w->isWindow())
            texts << w->windowTitle();
        if (const auto* l = qobject_cast<const QLabel*>(w))
            texts << l->text();
        if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            texts << b->text();
        if (const auto* g = qobject_cast<const QGroupBox*>(w))
            texts << g->title();
        if (const auto* c = qobject_cast<const QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                texts << c->itemText(i);
        if (const auto* e = qobject_cast<const QLineEdit*>(w))
            texts << e->text() << e->placeholderText();
        if (const auto* t = qobject_cast<const QTextEdit*>(w))
            texts << t->toPlainText() << t->placeholderText();
        if (const auto* s = qobject_cast<const QAbstractSpinBox*>(w))
            texts << s->specialValueText();
        if (const auto* s = qobject_cast<const QSpinBox*>(w))
            texts << s->prefix() << s->suffix();
        if (const auto* t = qobject_cast<const QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i)
                texts << t->tabText(i);
        if (const auto* v = qobject_cast<const QAbstractItemView*>(w))
            AddModelTexts(v->model(), texts);
        if (const auto* m = qobject_cast<const QMenu*>(w)) {
            texts << m->title();
            for (const QAction* a : m->actions())
                texts << a->text() << a->toolTip();
        }
    }
    texts.removeAll(QString());
    return texts;
}

// The texts among `texts` that carry Japanese once every `allowed` piece (data and names
// a test put in) is taken out, joined for a failure message.
inline QString JapaneseAmong(QStringList texts, const QStringList& allowed = {}) {
    QStringList found;
    for (QString t : texts) {
        for (const QString& a : allowed)
            t.remove(a);
        if (HasJapanese(t))
            found << t;
    }
    return found.join(QStringLiteral(" | "));
}

} // namespace saroko::test
