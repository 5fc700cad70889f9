#pragma once
// How a control comes into being. Windows that the original loaded from interface files build
// those controls in code too, but such controls keep their own defaults and looks.
namespace kestrel::widgets {

enum class Construction {
    InCode,             // built in code with a frame
    FromInterfaceFile,  // stands for a control loaded from a window's interface file
};

}  // namespace kestrel::widgets
