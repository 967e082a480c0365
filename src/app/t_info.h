#pragma once

#include "forms/form.h"

namespace kontaro::app {

class T_Kontaro;

// The about window: program name, version hint, the publisher's addresses, and two buttons that
// put the window layout in order and bring the posting window to the front.
class T_Info : public forms::Form {
public:
    explicit T_Info(T_Kontaro& app);

protected:
    void onActivate() override;

private:
    void okFenster1();

    T_Kontaro& m_app;
};

} // namespace kontaro::app
