// Entry points whose behaviour later work brings. They are bound in the window
// definitions and listed as not built in the entry table; until then they do
// nothing. Each moves out of this file when it is built.
#include "app/handlers.h"

namespace vorn::app {

void 按钮_打印_被单击(const Runtime&, const EventArgs&) {}
void 按钮_放大_被单击(const Runtime&, const EventArgs&) {}
void 按钮_清除_被单击(const Runtime&, const EventArgs&) {}
void 按钮_保存_被单击(const Runtime&, const EventArgs&) {}
void 按钮_设置_被单击(const Runtime&, const EventArgs&) {}
void 广告标签_左键被按下(const Runtime&, const EventArgs&) {}
void 时钟1_周期事件(const Runtime&, const EventArgs&) {}
void 截图效果图片框_被双击(const Runtime&, const EventArgs&) {}
void 截图效果图片框_右键被按下(const Runtime&, const EventArgs&) {}
void 菜单_清除图片_被选择(const Runtime&, const EventArgs&) {}
void 菜单_打印图片_被选择(const Runtime&, const EventArgs&) {}
void 菜单_保存图片_被选择(const Runtime&, const EventArgs&) {}
void 放大窗口_创建完毕(const Runtime&, const EventArgs&) {}
void 图形按钮2_被单击(const Runtime&, const EventArgs&) {}
void 图形按钮1_被单击(const Runtime&, const EventArgs&) {}
void 透明标签2_左键被按下(const Runtime&, const EventArgs&) {}
void 透明标签2_鼠标位置被移动(const Runtime&, const EventArgs&) {}
void 透明标签1_左键被放开(const Runtime&, const EventArgs&) {}
void 透明标签1_鼠标位置被移动(const Runtime&, const EventArgs&) {}
void 设置窗口_创建完毕(const Runtime&, const EventArgs&) {}
void 按钮1_被单击(const Runtime&, const EventArgs&) {}
void 选择框3_被单击(const Runtime&, const EventArgs&) {}
void 选择框2_被单击(const Runtime&, const EventArgs&) {}
void 选择框1_被单击(const Runtime&, const EventArgs&) {}

} // namespace vorn::app
