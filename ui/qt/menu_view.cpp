#include "menu_view.h"

#include "qt_util.h"

namespace qmqt {
namespace {

// Identifiers and nesting of a menu tree: when this changes the Qt menus are built again.
void describe(const std::vector<ui::MenuNode>& nodes, std::string* out) {
    for (const ui::MenuNode& n : nodes) {
        *out += n.separator ? "-" : std::to_string(n.id);
        if (!n.children.empty() || n.isMenu || n.submenuId) {
            *out += '[';
            describe(n.children, out);
            *out += ']';
        }
        *out += ',';
    }
}

}  // namespace

MenuBarView::MenuBarView(int menuBar, QMenuBar* bar) : handle_(menuBar), bar_(bar) {}

MenuBarView::~MenuBarView() {
    for (auto& m : menus_)
        if (m) m->deleteLater();
}

QAction* MenuBarView::action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second.data();
}

void MenuBarView::sync() {
    const ui::MenuBar* model = ui::findMenuBar(handle_);
    if (!bar_) return;
    std::string shape;
    if (model) describe(model->menus, &shape);
    if (!model || shape != shape_) {
        shape_ = shape;
        if (model)
            rebuild(*model);
        else
            bar_->clear();
    }
    if (model) update(model->menus);
}

void MenuBarView::rebuild(const ui::MenuBar& model) {
    // The old menus may be the ones whose item is being chosen right now: they go later.
    bar_->clear();
    for (auto& m : menus_)
        if (m) m->deleteLater();
    menus_.clear();
    actions_.clear();
    for (const ui::MenuNode& top : model.menus) {
        auto* menu = new QMenu(bar_);
        menus_.push_back(menu);
        bar_->addMenu(menu);
        actions_[top.id] = menu->menuAction();
        addNodes(menu, top.children);
    }
}

void MenuBarView::addNodes(QMenu* menu, const std::vector<ui::MenuNode>& nodes) {
    for (const ui::MenuNode& n : nodes) {
        if (n.separator) {
            QAction* sep = menu->addSeparator();
            if (n.id) actions_[n.id] = sep;
            continue;
        }
        if (n.submenuId || !n.children.empty()) {
            QMenu* sub = menu->addMenu(QString());
            actions_[n.id] = sub->menuAction();
            if (n.submenuId) actions_[n.submenuId] = sub->menuAction();
            addNodes(sub, n.children);
            continue;
        }
        QAction* a = menu->addAction(QString());
        const int bar = handle_, item = n.id;
        QObject::connect(a, &QAction::triggered, a, [this, bar, item] {
            ui::userChooseMenuItem(bar, item);
            // The callback sets checks itself; anything Qt toggled on its own is put back.
            if (ui::findMenuBar(bar)) sync();
        });
        actions_[n.id] = a;
    }
}

void MenuBarView::update(const std::vector<ui::MenuNode>& nodes) {
    for (const ui::MenuNode& n : nodes) {
        QAction* a = action(n.id);
        if (a && !n.separator) {
            const QString text = accessText(n.label);
            if (a->text() != text) a->setText(text);
            if (a->isEnabled() == n.dimmed) a->setEnabled(!n.dimmed);
            if (!a->menu()) {
                if (a->isCheckable() != n.checked) a->setCheckable(n.checked);
                if (a->isChecked() != n.checked) a->setChecked(n.checked);
            }
        }
        update(n.children);
    }
}

}  // namespace qmqt
