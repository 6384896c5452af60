#pragma once

class TMainForm;

/// Print, Print preview and Export as PDF: the table's pages (TablePrinter)
/// on a printer chosen in the print dialog, in a preview, or in a PDF file.
namespace PrintBindings {

void bind(TMainForm &form);

} // namespace PrintBindings
