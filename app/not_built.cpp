// Entry points whose behaviour later work brings. They are bound in the window
// definitions and listed as not built in the entry table; until then they do
// nothing. Each moves out of this file when it is built.
#include "app/handlers.h"

namespace vorn::app {

void 按钮_编辑_被单击(const Runtime&, const EventArgs&) {}
void 按钮_截取窗口_被单击(const Runtime&, const EventArgs&) {}
void 广告标签_左键被按下(const Runtime&, const EventArgs&) {}
void 输入设备1_鼠标事件(const Runtime&, const EventArgs&) {}
void 输入设备1_按键事件(const Runtime&, const EventArgs&) {}
void 边框窗口_创建完毕(const Runtime&, const EventArgs&) {}
void 编辑窗口_创建完毕(const Runtime&, const EventArgs&) {}
void 编辑窗口_将被销毁(const Runtime&, const EventArgs&) {}
void 超级按钮3_被单击(const Runtime&, const EventArgs&) {}
void 文字框_按下某键(const Runtime&, const EventArgs&) {}
void 文字框_内容被改变(const Runtime&, const EventArgs&) {}
void 画板_前台_左键被按下(const Runtime&, const EventArgs&) {}
void 画板_前台_鼠标位置被移动(const Runtime&, const EventArgs&) {}
void 画板_前台_左键被放开(const Runtime&, const EventArgs&) {}
void 高级字体选择框1_字体被改变(const Runtime&, const EventArgs&) {}
void 标签1_左键被按下(const Runtime&, const EventArgs&) {}
void 编辑框2_内容被改变(const Runtime&, const EventArgs&) {}
void 颜色选择钮1_颜色被改变(const Runtime&, const EventArgs&) {}
void 编辑框1_内容被改变(const Runtime&, const EventArgs&) {}
void 标签4_左键被按下(const Runtime&, const EventArgs&) {}
void 标签3_左键被按下(const Runtime&, const EventArgs&) {}
void 标签2_左键被按下(const Runtime&, const EventArgs&) {}

} // namespace vorn::app
