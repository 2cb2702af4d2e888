#include "GuiTestSupport.h"
#include "ui/Layout.h"
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>
namespace z417 {
TEST(Dbg, Pal) {
    test::WindowFixture f(test::sampleRecord());
    QWidget* c = f.window->childAt(600,337); qDebug() << c;
    QTest::mouseClick(c, Qt::LeftButton, Qt::NoModifier, c->mapFrom(f.window.get(), QPoint(600,337)));
    auto* l = f.window->findChild<QListWidget*>("id59");
    ASSERT_TRUE(l);
    qDebug() << l->palette().color(QPalette::Base) << l->viewport()->palette().color(QPalette::Base) << l->viewport()->backgroundRole() << l->font();
    qDebug() << f.window->grab().toImage().pixelColor(630,440) << l->grab().toImage().pixelColor(50,90) << l->isVisible() << l->geometry();
    f.window->dispatchClick({300, 233});
    auto* s = f.window->findChild<QListWidget*>("id42");
    ASSERT_TRUE(s);
    qDebug() << s->palette().color(QPalette::Base) << s->viewport()->palette().color(QPalette::Base)<< s->font() << f.window->grab().toImage().pixelColor(400,460);
}
}
