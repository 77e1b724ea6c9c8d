// Starting a program, a document or a web address through the platform's
// shell: the run-program command, the manual and the About dialog's page.
#pragma once

// Failures are not reported; parameters may be null.
void launchFile(const wchar_t* file, const wchar_t* parameters);
