#pragma once

// The run without user interface: checks, downloads and installs the updates of the products
// that the command line names (every installed product when it names none), waiting for each
// step to its end.
void RunHidden();
