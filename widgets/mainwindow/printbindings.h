#pragma once

class CommandHost;
class QWidget;
struct EngineServices;

/// Print, Print preview and Export as PDF: the table's pages (PagePainter)
/// on a printer chosen in the print dialog, in a preview, or in a PDF file.
namespace PrintBindings {

/// Binds the three commands; their dialogs show over @p window.
void bind(const EngineServices &services, QWidget &window, CommandHost &host);

} // namespace PrintBindings
