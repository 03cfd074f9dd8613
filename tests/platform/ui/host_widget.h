#pragma once
// A shown top-level widget that the controls of one test live on.
#include <gtest/gtest.h>

#include <QWidget>
#include <memory>

class HostWidgetTest : public testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<QWidget>();
        host->resize(800, 400);
        host->show();
    }
    std::unique_ptr<QWidget> host;
};
