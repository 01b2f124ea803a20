type
  TPoint = record X, Y: Integer; end;
  TPerson = record Name: string; Age: Byte; Home: TPoint; end;
var p, q: TPerson; people: array of TPerson; i: Integer;

function Describe(const who: TPerson): string;
begin
  Result := who.Name + ' ' + IntToStr(who.Age) + ' at ' + IntToStr(who.Home.X) + ',' + IntToStr(who.Home.Y);
end;

procedure Birthday(var who: TPerson);
begin
  who.Age := who.Age + 1;
end;

begin
  p.Name := 'Anna';
  p.Age := 30;
  p.Home.X := 3;
  p.Home.Y := 4;
  q := p;
  q.Name := 'Bo';
  q.Home.X := 9;
  Print(Describe(p));
  Print(Describe(q));
  Birthday(p);
  Print('after birthday: ' + IntToStr(p.Age));
  SetLength(people, 2);
  people[0] := p;
  people[1] := q;
  people[1].Age := 1;
  for i := 0 to High(people) do Print(Describe(people[i]));
  Print('q kept its age: ' + IntToStr(q.Age));
end.
