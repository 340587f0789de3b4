// A panel's menu bar: QMenus and QActions rebuilt from the run-time's menu tree when its shape changes,
// and updated in place (labels, checks, dimming) otherwise.
#ifndef QM_UI_QT_MENU_VIEW_H
#define QM_UI_QT_MENU_VIEW_H

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <map>
#include <string>
#include <vector>

#include "ui/model.h"

namespace qmqt {

class MenuBarView {
  public:
    MenuBarView(int menuBar, QMenuBar* bar);
    ~MenuBarView();

    int handle() const { return handle_; }
    void sync();
    // The action of a menu, item or submenu item (menus answer with their title action).
    QAction* action(int id) const;

  private:
    void rebuild(const ui::MenuBar& model);
    void addNodes(QMenu* menu, const std::vector<ui::MenuNode>& nodes);
    void update(const std::vector<ui::MenuNode>& nodes);

    const int handle_;
    QPointer<QMenuBar> bar_;
    std::string shape_;
    std::map<int, QPointer<QAction>> actions_;
    std::vector<QPointer<QMenu>> menus_;
};

}  // namespace qmqt

#endif
