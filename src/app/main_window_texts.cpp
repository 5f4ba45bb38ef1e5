// The memo's code page: its menu items, switching it, and what the memo
// refuses.
#include <QAction>
#include <QMenu>

#include "app/main_window.h"
#include "editing/memo_text.h"
#include "editing/page_index.h"
#include "editing/widgets/bike_memo.h"

namespace zelvor::app {

namespace {

struct CodePageItem {
    const char* name;
    editing::CodePage page;
};
constexpr CodePageItem kCodePageItems[] = {
    {"MenuMemo1250", editing::CodePage::Windows1250},
    {"MenuMemo1252", editing::CodePage::Windows1252},
};

}  // namespace

void TFormHlav::buildMemoCodePageMenu(QMenu* menu) {
    if (menu != nullptr) {
        menu->addSeparator();
        for (const CodePageItem& item : kCodePageItems) {
            QAction* action = addMenuAction(menu, item.name);
            action->setCheckable(true);
            const editing::CodePage page = item.page;
            connect(action, &QAction::triggered, this,
                    [this, page] { MenuMemoCodePageClick(page); });
        }
    }
    if (auto* memo = registry_.find<widgets::MemoEdit>("Memo1")) {
        connect(memo, &widgets::MemoEdit::charactersRefused, this,
                &TFormHlav::MemoCharactersRefused);
    }
    showMemoCodePage();
}

void TFormHlav::showMemoCodePage() {
    for (const CodePageItem& item : kCodePageItems) {
        if (auto* action = registry_.find<QAction>(item.name)) {
            action->setChecked(item.page == state_.memoCodePage);
        }
    }
    if (auto* memo = registry_.find<widgets::MemoEdit>("Memo1"))
        memo->setCodePage(state_.memoCodePage);
}

void TFormHlav::MenuMemoCodePageClick(editing::CodePage page) {
    if (page != state_.memoCodePage) {
        // Text typed into the memo and not yet taken is taken in the code page
        // it was typed in, before the bytes are read in the other one.
        auto* memo = registry_.find<widgets::MemoEdit>("Memo1");
        if (memo != nullptr && state_.currentPage == editing::kPageBike &&
            memo->toPlainText().toStdString() != editing::loadMemo(image_, state_.memoCodePage)) {
            carryOut(handlers_.commitEdit());
        }
        state_.memoCodePage = page;
    }
    showMemoCodePage();
    // The image keeps its bytes; the memo and the identification show them
    // as the chosen code page reads them.
    if (state_.currentPage == editing::kPageBike) pageView_->refresh();
}

void TFormHlav::MemoCharactersRefused(const QString& characters) {
    // After the key or the paste is over, so the box does not take the key's
    // release.
    postMessage(message(i18n::MessageKey::MsgMemoCharacter) + characters);
}

}  // namespace zelvor::app
