type
  TDay = (Mon, Tue, Wed, Thu, Fri, Sat, Sun);
  TDays = set of TDay;
var work, weekend, all, some: TDays; s: string; c: set of Char;

function Names(days: TDays): string;
var x: TDay;
begin
  Result := '';
  for x := Mon to Sun do
    if x in days then Result := Result + IntToStr(Ord(x));
end;

begin
  work := [Mon, Tue, Wed, Thu, Fri];
  weekend := [Sat, Sun];
  all := work + weekend;
  Print('all: ' + Names(all));
  some := all - [Tue, Sun];
  Print('some: ' + Names(some));
  Print('common: ' + Names(work * [Fri, Sat]));
  Include(some, Tue);
  Exclude(some, Mon);
  Print('changed: ' + Names(some));
  all := [Mon, Tue];
  if all <= work then Print('Mon and Tue are work days');
  if not (Sat in work) then Print('Sat is no work day');
  if work = [Mon, Tue, Wed, Thu, Fri] then Print('equal sets');
  c := ['a', 'b', 'c', 'x'];
  s := '';
  if 'b' in c then s := s + 'b';
  if 'd' in c then s := s + 'd';
  if 'x' in c then s := s + 'x';
  Print('chars: ' + s);
end.
