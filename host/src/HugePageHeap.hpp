#pragma once
// The host's heap on transparent huge pages. A project of millions of elements first touches most of its memory
// while it grows (an import of 10^6 points some 800 MB), and where each touched page costs a fault that the
// machine makes dear (a virtual machine) that is the import's largest cost: in pages of 2 MiB it faults 512 times
// less. The C library takes the wish only from the environment it starts with, so the program starts itself once
// again with it added.

// Returns when the process runs with its heap on huge pages, when the environment already says otherwise
// (GLIBC_TUNABLES names glibc.malloc.hugetlb) or when the program cannot start itself again (it runs on as it is).
void RunWithHugePageHeap(char** argv);
