#pragma once
#include <QWidget>
class LamriBar : public QWidget {
    Q_OBJECT
public:
    explicit LamriBar(QWidget *parent = nullptr);
};
